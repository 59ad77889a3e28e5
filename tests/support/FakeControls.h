#pragma once

#include <map>
#include <string>

#include "platform/Controls.h"

namespace travenor::test {

// Controls as plain maps: remembers every text, flag, value and period set.
class FakeControls : public Controls {
  public:
    std::map<std::string, std::string, std::less<>> texts{{"Combo1", "1"}};
    std::map<std::string, bool, std::less<>> visible;
    std::map<std::string, bool, std::less<>> enabled;
    std::map<std::string, int, std::less<>> values;
    std::map<std::string, int, std::less<>> intervals;
    int sizeHolds = 0;

    std::string text(std::string_view name) const override {
        return find(texts, name, std::string());
    }
    void setText(std::string_view name, const std::string& text) override {
        texts.insert_or_assign(std::string(name), text);
    }
    bool isVisible(std::string_view name) const override { return find(visible, name, true); }
    void setVisible(std::string_view name, bool v) override {
        visible.insert_or_assign(std::string(name), v);
    }
    bool isEnabled(std::string_view name) const override { return find(enabled, name, true); }
    void setEnabled(std::string_view name, bool e) override {
        enabled.insert_or_assign(std::string(name), e);
    }
    int value(std::string_view name) const override { return find(values, name, 0); }
    void setValue(std::string_view name, int v) override {
        values.insert_or_assign(std::string(name), v);
    }
    int interval(std::string_view name) const override { return find(intervals, name, 0); }
    void setInterval(std::string_view name, int ms) override {
        intervals.insert_or_assign(std::string(name), ms);
    }
    void holdWindowSize() override { ++sizeHolds; }

  private:
    template <typename Map, typename T>
    static T find(const Map& map, std::string_view name, T fallback) {
        const auto it = map.find(name);
        return it == map.end() ? fallback : it->second;
    }
};

}  // namespace travenor::test
