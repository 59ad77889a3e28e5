#include "report/PdfReport.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "format/CurrentText.h"
#include "format/NumberText.h"
#include "format/RatioText.h"

namespace travenor {

bool letterPaper(const QLocale& locale) {
    // Where Letter is the paper in use: North America and the countries
    // that follow its office sizes.
    static const QLocale::Territory LETTER[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,      QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela, QLocale::Philippines, QLocale::PuertoRico,
        QLocale::Guatemala,    QLocale::CostaRica, QLocale::Panama,      QLocale::DominicanRepublic,
        QLocale::ElSalvador,   QLocale::Nicaragua, QLocale::Honduras};
    return std::find(std::begin(LETTER), std::end(LETTER), locale.territory()) != std::end(LETTER);
}

namespace {

constexpr const char* TITLE = "Ratio error test report";
constexpr const char* PHASES[] = {"R", "S", "T", "none"};

// The colours of the chart; the verdicts differ by shape as well.
const QColor LIMIT_COLOUR(0, 0, 255);
const QColor PASS_COLOUR(0, 150, 0);
const QColor FAIL_COLOUR(220, 0, 0);
const QColor OTHER_COLOUR(130, 130, 130);
const QColor GRID_COLOUR(215, 215, 215);

// Lengths in millimetres on the page.
constexpr double MARGIN_LEFT = 20;
constexpr double MARGIN_RIGHT = 20;
constexpr double MARGIN_TOP = 18;
constexpr double MARGIN_BOTTOM = 20;
constexpr double LINE = 5.2;
constexpr double ROW = 4.6;
constexpr double CHART_HEIGHT = 64;

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string countText(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The report painted twice: once to count its pages, once more with
// "page k of n" on each.
class Layout {
  public:
    Layout(const ClassReport& report, const ReportHeading& heading, QPdfWriter& writer, int pages)
        : report_(report), heading_(heading), writer_(writer), pages_(pages) {
        const QPageSize size(heading.letter ? QPageSize::Letter : QPageSize::A4);
        const QSizeF mm = size.size(QPageSize::Millimeter);
        width_ = mm.width();
        height_ = mm.height();
        writer_.setPageSize(size);
        writer_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        painter_.begin(&writer_);
        scale_ = writer_.resolution() / 25.4;
    }

    int run() {
        startPage();
        headingBlock();
        summaryBlock();
        notesBlock();
        for (std::size_t phase = 0; phase < 3; ++phase)
            if (report_.phases[phase].records > 0) chart(phase);
        recordTable();
        footer();
        painter_.end();
        return page_;
    }

  private:
    double right() const { return width_ - MARGIN_RIGHT; }
    double bottom() const { return height_ - MARGIN_BOTTOM; }
    double textWidth() const { return right() - MARGIN_LEFT; }
    QPointF at(double x, double y) const { return {x * scale_, y * scale_}; }
    QRectF box(double x, double y, double w, double h) const {
        return {x * scale_, y * scale_, w * scale_, h * scale_};
    }

    void startPage() {
        if (page_ > 0) {
            footer();
            writer_.newPage();
        }
        ++page_;
        y_ = MARGIN_TOP;
    }

    // Room for `height` more millimetres on this page, else a new page.
    void need(double height) {
        if (y_ + height > bottom()) startPage();
    }

    void font(double points, bool bold = false) {
        QFont f(QStringLiteral("DejaVu Sans"));
        // No ligatures: a reader that copies "file" from the PDF gets f, i.
        f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
        f.setPointSizeF(points);
        f.setBold(bold);
        painter_.setFont(f);
    }

    void text(double x, double y, double w, double h, const std::string& s,
              int flags = Qt::AlignLeft | Qt::AlignVCenter, const QColor& colour = Qt::black) {
        painter_.setPen(colour);
        painter_.drawText(box(x, y, w, h), flags | Qt::TextSingleLine, q(s));
    }

    void rule(double y, const QColor& colour, double width = 0.25) {
        painter_.setPen(QPen(colour, width * scale_));
        painter_.drawLine(at(MARGIN_LEFT, y), at(right(), y));
    }

    void footer() {
        font(8);
        const double y = height_ - MARGIN_BOTTOM + 8;
        text(MARGIN_LEFT, y, textWidth(), 4,
             std::string(TITLE) + ", class " + report_.accuracy->name);
        text(MARGIN_LEFT, y, textWidth(), 4,
             "page " + std::to_string(page_) + " of " + std::to_string(pages_),
             Qt::AlignRight | Qt::AlignVCenter);
    }

    void headingBlock() {
        font(16, true);
        text(MARGIN_LEFT, y_, textWidth(), 9, TITLE);
        y_ += 11;
        const std::string factor = std::to_string(report_.ratingFactor) + " % of rated current";
        const std::pair<const char*, std::string> lines[] = {
            {"Date", heading_.when},
            {"Source", heading_.source},
            {"Accuracy class",
             std::string(report_.accuracy->name) + " (IEC 61869-2, limits of ratio error)"},
            {"Rated primary current", ratedPrimaryText(report_)},
            {"Rated secondary current", ratedSecondaryText(report_)},
            {"Rating factor", factor},
        };
        for (const auto& [key, value] : lines) {
            font(9.5, true);
            text(MARGIN_LEFT, y_, 52, LINE, key);
            font(9.5);
            text(MARGIN_LEFT + 52, y_, textWidth() - 52, LINE, value);
            y_ += LINE;
        }
        y_ += 4;
    }

    void summaryBlock() {
        font(11, true);
        text(MARGIN_LEFT, y_, textWidth(), 6, "Summary");
        y_ += 7;
        static constexpr double COLUMNS[] = {0, 16, 34, 52, 70, 98};
        static constexpr const char* HEADS[] = {"Phase",  "Records",       "Passed",
                                                "Failed", "Not evaluated", "Worst ratio error"};
        font(8.5, true);
        for (std::size_t c = 0; c < std::size(HEADS); ++c)
            text(MARGIN_LEFT + COLUMNS[c], y_, 40, ROW, HEADS[c]);
        y_ += ROW;
        rule(y_, Qt::gray);
        PhaseSummary all;
        const auto row = [&](const std::string& name, const PhaseSummary& p, bool bold) {
            font(8.5, bold);
            const std::string cells[] = {name,
                                         std::to_string(p.records),
                                         std::to_string(p.passed),
                                         std::to_string(p.failed),
                                         std::to_string(p.notEvaluated),
                                         worstText(report_, p)};
            for (std::size_t c = 0; c < std::size(cells); ++c)
                text(MARGIN_LEFT + COLUMNS[c], y_, c + 1 < std::size(cells) ? 16 : 80, ROW,
                     cells[c], Qt::AlignLeft | Qt::AlignVCenter,
                     c == 3 && p.failed > 0 ? FAIL_COLOUR : QColor(Qt::black));
            y_ += ROW;
        };
        for (std::size_t phase = 0; phase < 4; ++phase) {
            const PhaseSummary& p = report_.phases[phase];
            if (phase == ClassReport::NO_PHASE && p.records == 0) continue;
            row(PHASES[phase], p, false);
            all.records += p.records;
            all.passed += p.passed;
            all.failed += p.failed;
            all.notEvaluated += p.notEvaluated;
        }
        rule(y_, Qt::gray);
        row("all", all, true);
        y_ += 2;
        const int evaluated = all.passed + all.failed;
        const std::string className = report_.accuracy->name;
        const std::string verdict =
            evaluated == 0 ? "No record could be judged against class " + className + "."
            : all.failed > 0
                ? "Verdict: " + std::to_string(all.failed) + " of " +
                      countText(evaluated, "evaluated record", "evaluated records") +
                      (all.failed == 1 ? " fails" : " fail") + " class " + className + "."
                : "Verdict: " +
                      (evaluated == 1
                           ? std::string("the one evaluated record passes")
                           : "all " + std::to_string(evaluated) + " evaluated records pass") +
                      " class " + className + ".";
        font(10, true);
        text(MARGIN_LEFT, y_, textWidth(), 6, verdict, Qt::AlignLeft | Qt::AlignVCenter,
             all.failed > 0 ? FAIL_COLOUR : QColor(Qt::black));
        y_ += 8;
    }

    void notesBlock() {
        const AccuracyClass& c = *report_.accuracy;
        std::vector<std::string> notes = {
            "Limits of class " + std::string(c.name) + ": " + limitPointsText(c) +
                " of rated current.",
            "Between two points the limit is interpolated linearly in the current; from " +
                std::to_string(c.points.back().percentOfRated) +
                " % up to the rating factor the top limit holds.",
            "A record is not evaluated below " + std::to_string(c.points.front().percentOfRated) +
                " % of rated current, above the rating factor, or without a value.",
            "Only the ratio error is judged: the instrument does not measure phase displacement.",
            "The instrument gives the ratio error to 0.1 %."};
        if (limitWithinResolution(c))
            notes.back() += " The tightest limit of class " + std::string(c.name) +
                            " is no coarser than that: a verdict near the limit rests on the "
                            "last digit.";
        font(8.5, true);
        text(MARGIN_LEFT, y_, textWidth(), ROW, "Notes");
        y_ += ROW;
        font(8);
        painter_.setPen(Qt::black);
        for (const std::string& note : notes) {
            QRectF used;
            painter_.drawText(box(MARGIN_LEFT, y_, textWidth(), 20),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, q(note), &used);
            y_ += used.height() / scale_ + 0.6;
        }
        y_ += 4;
    }

    // Ratio error against percent of rated current for one phase's records.
    void chart(std::size_t phase) {
        need(CHART_HEIGHT);
        const ChartAxes axes = chartAxes(report_, phase);
        font(10, true);
        text(MARGIN_LEFT, y_, textWidth(), 6,
             std::string("Phase ") + PHASES[phase] + ": ratio error against current");
        legend(y_ + 0.5);
        const double left = MARGIN_LEFT + 16;
        const double top = y_ + 8;
        const double plotWidth = right() - 2 - left;
        const double plotHeight = CHART_HEIGHT - 8 - 17;
        y_ += CHART_HEIGHT;
        // A point beyond the axes is drawn on their edge, and said so.
        int beyond = 0;
        const auto px = [&](double percent) { return left + percent / axes.xMax * plotWidth; };
        const auto py = [&](double hundredths) {
            return top + (axes.yMax - hundredths) / (2.0 * axes.yMax) * plotHeight;
        };
        // Grid and tick labels.
        font(7.5);
        for (int x = 0; x <= axes.xMax; x += axes.xStep) {
            painter_.setPen(QPen(GRID_COLOUR, 0.2 * scale_));
            painter_.drawLine(at(px(x), top), at(px(x), top + plotHeight));
            text(px(x) - 8, top + plotHeight + 0.8, 16, 3.5, std::to_string(x), Qt::AlignCenter);
        }
        const unsigned decimals = axes.yStep % 10 == 0 ? 1 : 2;
        for (int y = -axes.yMax; y <= axes.yMax; y += axes.yStep) {
            painter_.setPen(QPen(y == 0 ? QColor(150, 150, 150) : GRID_COLOUR, 0.2 * scale_));
            painter_.drawLine(at(left, py(y)), at(left + plotWidth, py(y)));
            const std::string label =
                (y < 0 ? "-" : "") + decimalText(std::abs(y) / (decimals == 1 ? 10 : 1), decimals);
            text(left - 13, py(y) - 1.75, 11.5, 3.5, label, Qt::AlignRight | Qt::AlignVCenter);
        }
        font(8);
        text(left, top + plotHeight + 5, plotWidth, 4, "current (% of rated)", Qt::AlignCenter);
        painter_.save();
        painter_.translate(at(MARGIN_LEFT, top + plotHeight / 2));
        painter_.rotate(-90);
        painter_.setPen(Qt::black);
        painter_.drawText(
            QRectF(-plotHeight / 2 * scale_, -0.5 * scale_, plotHeight * scale_, 4 * scale_),
            Qt::AlignCenter, QStringLiteral("ratio error (%)"));
        painter_.restore();

        // The limit envelope: +limit and -limit.
        painter_.setPen(QPen(LIMIT_COLOUR, 0.45 * scale_));
        const auto corners = envelope(*report_.accuracy, report_.ratingFactor);
        for (const int sign : {1, -1}) {
            QPainterPath line;
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const QPointF p = at(px(corners[i].first), py(sign * corners[i].second));
                if (i == 0)
                    line.moveTo(p);
                else
                    line.lineTo(p);
            }
            painter_.drawPath(line);
        }
        // The records: those not evaluated first, so a verdict is drawn on top.
        for (const Verdict kind : {Verdict::NotEvaluated, Verdict::Pass, Verdict::Fail})
            for (const ReportRow& row : report_.rows) {
                if (static_cast<std::size_t>(row.record.channel) != phase ||
                    row.judgement.verdict != kind || !row.judgement.percentOfRated ||
                    !row.record.error.present())
                    continue;
                const double x = static_cast<double>(*row.judgement.percentOfRated) / 10000.0;
                const double y = row.record.error.tenths() * 10.0;
                if (x > axes.xMax || std::abs(y) > axes.yMax) ++beyond;
                mark(kind, px(std::min<double>(x, axes.xMax)),
                     py(std::clamp<double>(y, -axes.yMax, axes.yMax)));
            }
        if (beyond > 0) {
            font(7);
            text(left, top + plotHeight + 9.5, plotWidth, 4,
                 countText(beyond, "record lies", "records lie") +
                     " beyond the axes, drawn on their edge",
                 Qt::AlignRight | Qt::AlignVCenter, OTHER_COLOUR);
        }
        painter_.setPen(QPen(Qt::black, 0.3 * scale_));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(box(left, top, plotWidth, plotHeight));
    }

    // A record's mark: a filled disc passes, a cross fails, a hollow square
    // was not evaluated.
    void mark(Verdict kind, double x, double y) {
        const double r = 0.9;
        switch (kind) {
            case Verdict::Pass:
                painter_.setPen(Qt::NoPen);
                painter_.setBrush(PASS_COLOUR);
                painter_.drawEllipse(at(x, y), r * scale_, r * scale_);
                break;
            case Verdict::Fail:
                painter_.setPen(QPen(FAIL_COLOUR, 0.45 * scale_));
                painter_.drawLine(at(x - 1.2, y - 1.2), at(x + 1.2, y + 1.2));
                painter_.drawLine(at(x - 1.2, y + 1.2), at(x + 1.2, y - 1.2));
                break;
            case Verdict::NotEvaluated:
                painter_.setPen(QPen(OTHER_COLOUR, 0.25 * scale_));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(box(x - r, y - r, 2 * r, 2 * r));
                break;
        }
    }

    void legend(double y) {
        font(7.5);
        double x = right() - 88;
        for (const Verdict kind : {Verdict::Pass, Verdict::Fail, Verdict::NotEvaluated}) {
            mark(kind, x + 1.5, y + 2.5);
            text(x + 4, y, 24, 5, verdictName(kind));
            x += kind == Verdict::NotEvaluated ? 25 : 14;
        }
        painter_.setPen(QPen(LIMIT_COLOUR, 0.45 * scale_));
        painter_.drawLine(at(x, y + 2.5), at(x + 5, y + 2.5));
        text(x + 6.5, y, 20, 5, "limit");
    }

    void recordTable() {
        static constexpr double COLUMNS[] = {0, 13, 24, 44, 64, 82, 100, 122};
        static constexpr const char* HEADS[] = {"No.",       "Phase",      "Primary (A)",
                                                "Error (%)", "% of rated", "Limit (%)",
                                                "Verdict",   "Reason"};
        // Numbers to the right of their column, words to the left.
        const auto cell = [&](std::size_t c, const std::string& s, const QColor& colour) {
            const double w =
                (c + 1 < std::size(COLUMNS) ? COLUMNS[c + 1] : textWidth()) - COLUMNS[c] - 1;
            const bool number = c != 1 && c < 6;
            text(MARGIN_LEFT + COLUMNS[c], y_, number ? w - 2 : w, ROW, s,
                 (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, colour);
        };
        const auto heads = [&] {
            font(8, true);
            for (std::size_t c = 0; c < std::size(HEADS); ++c) cell(c, HEADS[c], Qt::black);
            y_ += ROW;
            rule(y_, Qt::gray);
        };
        need(8 + 2 * ROW);
        font(11, true);
        text(MARGIN_LEFT, y_, textWidth(), 6, "Records");
        y_ += 7;
        heads();
        for (std::size_t i = 0; i < report_.rows.size(); ++i) {
            if (y_ + ROW > bottom()) {
                startPage();
                heads();
            }
            const ReportRow& row = report_.rows[i];
            const Judgement& j = row.judgement;
            const int channel = row.record.channel;
            const std::string cells[] = {
                std::to_string(row.number),
                channel >= 0 && channel <= 2 ? PHASES[channel] : "-",
                row.record.primary.hasValue() ? amperesText(row.record.primary)
                                              : currentText(row.record.primary),
                row.record.error.present() ? percentText(row.record.error) : "-",
                j.percentOfRated ? percentOfRatedText(*j.percentOfRated) : "-",
                j.limit ? j.limit->percentText() : "-",
                verdictName(j.verdict),
                j.reason};
            if (i % 2 == 1)
                painter_.fillRect(box(MARGIN_LEFT, y_, textWidth(), ROW), QColor(243, 243, 243));
            for (std::size_t c = 0; c < std::size(cells); ++c) {
                const bool failed = c == 6 && j.verdict == Verdict::Fail;
                font(8, failed);
                cell(c, cells[c], failed ? FAIL_COLOUR : QColor(Qt::black));
            }
            y_ += ROW;
        }
        if (report_.rows.empty()) {
            font(8);
            text(MARGIN_LEFT, y_, textWidth(), ROW, "There are no records.");
        }
    }

    const ClassReport& report_;
    const ReportHeading& heading_;
    QPdfWriter& writer_;
    QPainter painter_;
    int pages_;
    int page_ = 0;
    double y_ = 0;
    double width_ = 210;
    double height_ = 297;
    double scale_ = 1;
};

}  // namespace

QByteArray pdfReport(const ClassReport& report, const ReportHeading& heading) {
    int pages = 0;
    QByteArray bytes;
    for (int pass = 0; pass < 2; ++pass) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setTitle(QString::fromUtf8(TITLE));
        writer.setCreator(q(heading.creator));
        pages = Layout(report, heading, writer, pages).run();
    }
    return bytes;
}

}  // namespace travenor
