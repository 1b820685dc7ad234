#include "mainwindow/charpane.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <utility>

#include "platform/qtcp1252.h"

namespace qm {

namespace {

constexpr int kGridWidth = kSpecCharCols * kSpecCharCell;
constexpr int kGridHeight = kSpecCharRows * kSpecCharCell;

constexpr std::array<unsigned char, kSpecCharCount> MakeTable() {
    // Punctuation and symbols first, then the typographic characters, then
    // the accented letters.
    constexpr std::pair<int, int> kRanges[] = {
        {0x23, 0x2F}, {0x3A, 0x40}, {0x5B, 0x60}, {0x7B, 0x7E}, {0x80, 0x80}, {0x82, 0x85}, {0x99, 0x99}, {0xA9, 0xA9},
        {0xAE, 0xAE}, {0x86, 0x8C}, {0x91, 0x98}, {0x9A, 0x9C}, {0x9F, 0x9F}, {0xA1, 0xA8}, {0xAA, 0xAD}, {0xAF, 0xFF},
    };
    std::array<unsigned char, kSpecCharCount> table{};
    std::size_t n = 0;
    for (const auto& [from, to] : kRanges)
        for (int c = from; c <= to; ++c) table.at(n++) = static_cast<unsigned char>(c);
    // Made at compile time: ranges that do not fill the table exactly do not build.
    if (n != table.size()) throw "the ranges do not make the table";
    return table;
}

constexpr std::array<unsigned char, kSpecCharCount> kTable = MakeTable();

}  // namespace

const std::array<unsigned char, kSpecCharCount>& SpecialCharacters() { return kTable; }

std::string SpecCharInsertion(unsigned char c) {
    if (c == '<') return "&lt;";
    if (c == '>') return "&rt;";
    return std::string(1, static_cast<char>(c));
}

// --- the grid -----------------------------------------------------------------------

TSpecCharGrid::TSpecCharGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sgSpecChars"));
    setFixedSize(kGridWidth, kGridHeight);
    setMouseTracking(true);
    // A click inserts into the editor, which keeps the focus.
    setFocusPolicy(Qt::NoFocus);
}

QSize TSpecCharGrid::sizeHint() const { return {kGridWidth, kGridHeight}; }

int TSpecCharGrid::CellAt(QPoint p) {
    if (p.x() < 0 || p.y() < 0 || p.x() >= kGridWidth || p.y() >= kGridHeight) return -1;
    return (p.y() / kSpecCharCell) * kSpecCharCols + p.x() / kSpecCharCell;
}

QRect TSpecCharGrid::CellRect(int index) {
    if (index < 0 || index >= kSpecCharCount) return {};
    return {(index % kSpecCharCols) * kSpecCharCell, (index / kSpecCharCols) * kSpecCharCell, kSpecCharCell,
            kSpecCharCell};
}

bool TSpecCharGrid::SetFontName(const QString& face) {
    if (face == face_) return false;
    face_ = face;
    update();
    return true;
}

void TSpecCharGrid::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    QFont f = font();
    if (!face_.isEmpty()) f.setFamily(face_);
    p.setFont(f);
    const QFontMetrics fm(f);
    const QColor highlight = palette().color(QPalette::Highlight);
    const std::array<unsigned char, kSpecCharCount>& table = SpecialCharacters();
    for (int i = 0; i < kSpecCharCount; ++i) {
        const QRect cell = CellRect(i);
        if (!cell.intersects(e->rect())) continue;
        const bool selected = i == selected_;
        p.fillRect(cell, selected ? highlight : QColor(Qt::white));
        // The grid's lines: the last pixel row and column of each cell.
        p.setPen(QColor(0xC0, 0xC0, 0xC0));
        p.drawLine(cell.topRight(), cell.bottomRight());
        p.drawLine(cell.bottomLeft(), cell.bottomRight());
        const QString text = FromCp1252(std::string(1, static_cast<char>(table[static_cast<std::size_t>(i)])));
        // Centred in the cell; the halves are rounded toward zero.
        const int x = cell.left() + kSpecCharCell / 2 - fm.horizontalAdvance(text) / 2;
        const int y = cell.top() + kSpecCharCell / 2 - fm.height() / 2;
        p.setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        p.drawText(x, y + fm.ascent(), text);
    }
}

void TSpecCharGrid::mouseMoveEvent(QMouseEvent* e) {
    const int at = CellAt(e->position().toPoint());
    if (at >= 0 && at != selected_) {
        update(CellRect(selected_));
        selected_ = at;
        update(CellRect(selected_));
    }
    QWidget::mouseMoveEvent(e);
}

void TSpecCharGrid::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->button() == Qt::LeftButton ? CellAt(e->position().toPoint()) : -1;
    QWidget::mousePressEvent(e);
}

void TSpecCharGrid::mouseReleaseEvent(QMouseEvent* e) {
    const int at = CellAt(e->position().toPoint());
    const bool click = e->button() == Qt::LeftButton && at >= 0 && at == pressed_;
    pressed_ = -1;
    if (click) emit cellClicked(at);
    QWidget::mouseReleaseEvent(e);
}

// --- the pane -----------------------------------------------------------------------

TSpecCharPane::TSpecCharPane(QWidget* parent) : QScrollArea(parent), grid_(new TSpecCharGrid) {
    setObjectName(QStringLiteral("pnlSpecChars"));
    setFrameShape(QFrame::NoFrame);
    setWidget(grid_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(HeightFor(width()));
}

int TSpecCharPane::HeightFor(int width) const {
    const int frame = 2 * frameWidth();
    const bool bar = width - frame < kGridWidth;
    return kGridHeight + frame + (bar ? horizontalScrollBar()->sizeHint().height() : 0);
}

QSize TSpecCharPane::sizeHint() const { return {kGridWidth + 2 * frameWidth(), HeightFor(width())}; }

QSize TSpecCharPane::minimumSizeHint() const { return {0, HeightFor(width())}; }

void TSpecCharPane::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    // The height follows the width alone, so this settles at once.
    const int h = HeightFor(width());
    if (h != height()) setFixedHeight(h);
}

}  // namespace qm
