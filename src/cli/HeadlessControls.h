#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/Controls.h"

namespace travenor {

// The controls the core writes, kept in memory where no window shows them.
// `liveReadingShown` is called when a live reading has been put up whole
// (its last step shows or hides the high-voltage battery flag).
class HeadlessControls : public Controls {
  public:
    std::function<void()> liveReadingShown;

    std::string text(std::string_view name) const override {
        const auto it = texts.find(name);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(std::string_view name, const std::string& text) override {
        texts.insert_or_assign(std::string(name), text);
    }
    bool isVisible(std::string_view name) const override { return flag(visible, name); }
    void setVisible(std::string_view name, bool shown) override {
        visible.insert_or_assign(std::string(name), shown);
        if (name == "Label15" && liveReadingShown) liveReadingShown();
    }
    bool isEnabled(std::string_view name) const override { return flag(enabled, name); }
    void setEnabled(std::string_view name, bool on) override {
        enabled.insert_or_assign(std::string(name), on);
    }
    int value(std::string_view name) const override {
        const auto it = values.find(name);
        return it == values.end() ? 0 : it->second;
    }
    void setValue(std::string_view name, int v) override {
        values.insert_or_assign(std::string(name), v);
    }
    int interval(std::string_view) const override { return 0; }
    void setInterval(std::string_view, int) override {}
    void holdWindowSize() override {}

  private:
    static bool flag(const std::map<std::string, bool, std::less<>>& map, std::string_view name) {
        const auto it = map.find(name);
        return it == map.end() ? false : it->second;
    }
    std::map<std::string, std::string, std::less<>> texts{{"Combo1", "1"}};
    std::map<std::string, bool, std::less<>> visible;
    std::map<std::string, bool, std::less<>> enabled;
    std::map<std::string, int, std::less<>> values;
};

}  // namespace travenor
