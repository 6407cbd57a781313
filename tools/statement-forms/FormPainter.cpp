#include "tools/statement-forms/FormPainter.h"

#include "reports/StatementSections.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <map>

namespace formgen {

namespace {

constexpr double Rule = 0.5;
constexpr double Frame = 0.8;

class PagePainter {
public:
    PagePainter(QPainter& painter, const FormSpec& form) : p_(painter), form_(form) {}

    void draw(const std::vector<Item>& items);

private:
    void text(double x, double y, double size, const std::string& s, bool bold = false);
    void centredText(double left, double right, double y, double size, const std::string& s);
    void rect(double x, double y, double w, double h, double width = Frame);
    void line(double x1, double y1, double x2, double y2, double width = Rule);

    void box(const Item& item);
    void tick(const Item& item);
    void cells(const Item& item);
    void section(const Item& item, const std::map<int, std::string>& labels);

    quillan::StatementPayment payment() const {
        if (form_.permit)
            return quillan::StatementPayment::Permit;
        return form_.nonprofit ? quillan::StatementPayment::AffixedNonprofit
                               : quillan::StatementPayment::AffixedRegular;
    }

    QPainter& p_;
    const FormSpec& form_;
};

void PagePainter::text(double x, double y, double size, const std::string& s, bool bold) {
    QFont font("Arial");
    font.setPointSizeF(size);
    font.setBold(bold);
    p_.setFont(font);
    QFontMetricsF metrics(font, p_.device());
    p_.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(s));
}

void PagePainter::centredText(double left, double right, double y, double size,
                              const std::string& s) {
    QFont font("Arial");
    font.setPointSizeF(size);
    double width = QFontMetricsF(font, p_.device()).horizontalAdvance(QString::fromStdString(s));
    text((left + right - width) / 2, y, size, s);
}

void PagePainter::rect(double x, double y, double w, double h, double width) {
    p_.setPen(QPen(Qt::black, width));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRectF(x, y, w, h));
}

void PagePainter::line(double x1, double y1, double x2, double y2, double width) {
    p_.setPen(QPen(Qt::black, width));
    p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

// A box with its caption small in the top-left corner; the value goes below the caption.
void PagePainter::box(const Item& item) {
    const auto& n = item.numbers;
    rect(n[0], n[1], n[2], n[3]);
    if (!item.text.empty())
        text(n[0] + 2, n[1] + 1, 5.5, item.text, true);
}

// A square around where the program prints its "x", with the caption to its right.
void PagePainter::tick(const Item& item) {
    double x = item.numbers[0];
    double y = item.numbers[1];
    rect(x - 1, y + 1.5, 6, 6, 0.6);
    if (!item.text.empty())
        text(x + 8, y + 1.2, 6, item.text);
}

// One small box per character, each starting at x + offset.
void PagePainter::cells(const Item& item) {
    const auto& n = item.numbers;
    for (size_t i = 4; i < n.size(); ++i)
        rect(n[0] + n[i] - 2, n[1] - 1.5, n[2], n[3], 0.6);
}

// The rows of a page-2 section where the statement prints its lines: a frame, the column
// heads, a rule above each row and under each run of rows, the labels, and the total row.
void PagePainter::section(const Item& item, const std::map<int, std::string>& labels) {
    auto columns = quillan::statementSectionColumns(item.section);
    std::vector<int> rows = quillan::statementSectionRows(item.section, payment());
    if (!columns || rows.empty())
        return;
    double left = item.numbers[0];
    double totalY = item.numbers[1];
    double right = columns->amountX + 4;
    double firstY = quillan::statementSectionRowY(item.section, rows.front(), payment());
    double lastY = quillan::statementSectionRowY(item.section, rows.back(), payment());
    double top = firstY - 13;
    double bottom = (totalY > 0 ? totalY : lastY) + 11;

    text(left, top - 9, 7, item.text, true);
    rect(left, top, right - left, bottom - top);
    double quantityLeft = columns->quantityX - 44;
    if (columns->rateX) {
        double rateLeft = columns->rateX - 34;
        quantityLeft = std::max(quantityLeft, columns->rateX + 3.0);
        line(rateLeft, top, rateLeft, bottom);
        centredText(rateLeft, columns->rateX + 3, top + 2, 6, "Rate");
    }
    double amountLeft = columns->quantityX + 3;
    line(quantityLeft, top, quantityLeft, bottom);
    line(amountLeft, top, amountLeft, bottom);
    centredText(quantityLeft, amountLeft, top + 2, 6, "Pieces / Pounds");
    centredText(amountLeft, right, top + 2, 6, "Postage");

    for (size_t i = 0; i < rows.size(); ++i) {
        double y = quillan::statementSectionRowY(item.section, rows[i], payment());
        // Permit rows lie 8 or 9 points apart: the rule passes between the figures of the
        // row above, whose baseline is 7.2 points down in 8-point type, and this row's. Rows
        // only 8 points apart (a piece line and its pounds) share one ruled band.
        double above =
            i > 0 ? quillan::statementSectionRowY(item.section, rows[i - 1], payment()) : y - 100;
        if (y - above >= 9)
            line(left, y - 0.3, right, y - 0.3);
        bool lastOfRun =
            i + 1 == rows.size() ||
            quillan::statementSectionRowY(item.section, rows[i + 1], payment()) - y > 25;
        if (lastOfRun)
            line(left, y + 10, right, y + 10);
        auto label = labels.find(rows[i]);
        if (label != labels.end())
            text(left + 3, y + 0.5, 6.5, label->second);
    }
    if (totalY > 0) {
        line(left, totalY - 2, right, totalY - 2, Frame);
        text(left + 3, totalY + 0.5, 7, "Total postage, this part", true);
    }
}

void PagePainter::draw(const std::vector<Item>& items) {
    std::map<char, std::map<int, std::string>> labels;
    for (const Item& item : items)
        if (item.kind == Item::Kind::Label)
            labels[item.section][static_cast<int>(item.numbers[0])] = item.text;
    for (const Item& item : items) {
        const auto& n = item.numbers;
        switch (item.kind) {
        case Item::Kind::Box:
            box(item);
            break;
        case Item::Kind::Text:
            text(n[0], n[1], n[2], item.text, item.bold);
            break;
        case Item::Kind::Line:
            line(n[0], n[1], n[2], n[3], Frame);
            break;
        case Item::Kind::Tick:
            tick(item);
            break;
        case Item::Kind::Cells:
            cells(item);
            break;
        case Item::Kind::Section:
            section(item, labels[item.section]);
            break;
        case Item::Kind::Label:
            break;
        }
    }
}

} // namespace

QImage paintPage(const FormSpec& form, int page) {
    QImage grey(ImageWidth, ImageHeight, QImage::Format_Grayscale8);
    // One logical unit per point, so that font sizes in points come out in points.
    grey.setDotsPerMeterX(qRound(72 / 0.0254));
    grey.setDotsPerMeterY(qRound(72 / 0.0254));
    grey.fill(Qt::white);
    {
        QPainter painter(&grey);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.scale(PixelsPerPoint, PixelsPerPoint);
        painter.translate(-ImageLeft, -ImageTop);
        PagePainter(painter, form).draw(form.pages[static_cast<size_t>(page)]);
    }
    return grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

} // namespace formgen
