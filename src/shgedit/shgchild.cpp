#include "shgedit/shgchild.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "shgedit/dibimage.h"
#include "shgedit/hspropsdlg.h"
#include "shgedit/mainform.h"
#include "shgedit/rundialog.h"
#include "widgets/commandguard.h"

namespace qm::shgedit {

namespace {

// What a handle becomes when the rectangle turns over: across the vertical
// axis (left and right swap) and across the horizontal one.
int MirrorVertical(int h) {
    switch (h) {
        case 2: return 3;
        case 3: return 2;
        case 4: return 5;
        case 5: return 4;
        case 6: return 7;
        case 7: return 6;
        default: return h;
    }
}

int MirrorHorizontal(int h) {
    switch (h) {
        case 0: return 1;
        case 1: return 0;
        case 4: return 6;
        case 6: return 4;
        case 5: return 7;
        case 7: return 5;
        default: return h;
    }
}

// The outline of a rectangle (right and bottom exclusive), each pixel once,
// so inverting twice restores it.
void DrawFrame(QPainter& p, int left, int top, int right, int bottom) {
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return;
    if (w <= 2 || h <= 2) {
        p.fillRect(left, top, w, h, Qt::black);
        return;
    }
    p.fillRect(left, top, w, 1, Qt::black);
    p.fillRect(left, bottom - 1, w, 1, Qt::black);
    p.fillRect(left, top + 1, 1, h - 2, Qt::black);
    p.fillRect(right - 1, top + 1, 1, h - 2, Qt::black);
}

// The area a hotspot and its handles cover.
QRect Area(int left, int top, int right, int bottom) {
    const QRect r = QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                          QPoint(std::max(left, right), std::max(top, bottom)));
    return r.adjusted(-4, -4, 4, 4);
}

}  // namespace

// ---- the canvas ----------------------------------------------------------------

TShgCanvas::TShgCanvas(TfrmShg& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("pbxPicture"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TShgCanvas::sizeHint() const { return {owner_.PictureWidth(), owner_.PictureHeight()}; }

void TShgCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    owner_.FormPaint(painter, event->rect());
}

void TShgCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    owner_.FormMouseDown(event->button(), p.x(), p.y());
}

void TShgCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    owner_.FormMouseMove(p.x(), p.y());
}

void TShgCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    owner_.FormMouseUp(event->button(), p.x(), p.y());
}

void TShgCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt sends this in place of the second press: it opens the properties and
    // starts no drag, and nothing is kept that would swallow a later click.
    if (event->button() == Qt::LeftButton) owner_.FormDblClick();
}

void TShgCanvas::keyPressEvent(QKeyEvent* event) {
    if (!owner_.FormKeyDown(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

void TShgCanvas::contextMenuEvent(QContextMenuEvent* event) {
    if (!owner_.PopMenu) return;
    if (event->reason() == QContextMenuEvent::Keyboard && !owner_.HasSelection()) return;
    owner_.PopMenu->popup(event->globalPos());
}

// ---- the window ----------------------------------------------------------------

TfrmShg::TfrmShg(TfrmMain& frame, std::unique_ptr<TShg> shg, QWidget* parent)
    : QWidget(parent), frame_(frame), shg_(std::move(shg)) {
    setObjectName(QStringLiteral("frmShg"));
    setWindowTitle(FromCp1252(shg_->FileName));
    if (shg_->Bitmap) picture_ = DibToImage(*shg_->Bitmap);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("sbxPicture"));
    scroll_->setBackgroundRole(QPalette::Base);
    QPalette white = scroll_->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    scroll_->setPalette(white);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The canvas fills the view when the picture is smaller, so a press beside
    // the picture reaches it (and is refused there).
    scroll_->setWidgetResizable(true);
    canvas_ = new TShgCanvas(*this);
    scroll_->setWidget(canvas_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    setFocusProxy(canvas_);

    PopMenu = new QMenu(this);
    PopMenu->setObjectName(QStringLiteral("PopMenu"));
    for (QAction* a : {frame_.actCut, frame_.actCopy, frame_.actPaste, frame_.actDelete}) PopMenu->addAction(a);
    PopMenu->addSeparator();
    PopMenu->addAction(frame_.actHSProps);
    PopMenu->setDefaultAction(frame_.actHSProps);
    connect(PopMenu, &QMenu::aboutToShow, this, [this] { frame_.UpdateActionsNow(); });
}

TfrmShg::~TfrmShg() = default;

int TfrmShg::PictureWidth() const { return shg_->Bitmap ? shg_->Bitmap->Width : 0; }
int TfrmShg::PictureHeight() const { return shg_->Bitmap ? shg_->Bitmap->Height : 0; }

void TfrmShg::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit stateChanged();
}

std::array<QRect, 8> TfrmShg::Handles(const THotspot& h) {
    const int midX = h.Left + (h.Right - h.Left) / 2;
    const int midY = h.Top + (h.Bottom - h.Top) / 2;
    const QPoint centres[8] = {{midX, h.Top},   {midX, h.Bottom}, {h.Left, midY},     {h.Right, midY},
                               {h.Left, h.Top}, {h.Right, h.Top}, {h.Left, h.Bottom}, {h.Right, h.Bottom}};
    std::array<QRect, 8> out;
    for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(i)] = QRect(centres[i].x() - 3, centres[i].y() - 3, 6, 6);
    return out;
}

int TfrmShg::HandleAt(int x, int y) const {
    if (!hasSelection_) return -1;
    const auto handles = Handles(Item(selectedIndex_));
    for (int i = 0; i < 8; ++i)
        if (handles[static_cast<std::size_t>(i)].contains(x, y)) return i;
    return -1;
}

void TfrmShg::UpdateHotspotArea(int left, int top, int right, int bottom) {
    canvas_->update(Area(left, top, right, bottom));
}

void TfrmShg::UpdateSelectionArea() {
    if (!hasSelection_) return;
    const THotspot& h = Item(selectedIndex_);
    UpdateHotspotArea(h.Left, h.Top, h.Right, h.Bottom);
}

void TfrmShg::SelectHotspot(int index) {
    if (index >= shg_->Hotspots.Count()) index = -1;
    UpdateSelectionArea();
    hasSelection_ = index >= 0;
    selectedIndex_ = index;
    UpdateSelectionArea();
    emit stateChanged();
}

void TfrmShg::SetRect(int index, int left, int top, int right, int bottom) {
    THotspot& h = Item(index);
    UpdateHotspotArea(h.Left, h.Top, h.Right, h.Bottom);
    h.Left = left;
    h.Top = top;
    h.Right = right;
    h.Bottom = bottom;
    UpdateHotspotArea(left, top, right, bottom);
}

void TfrmShg::DeleteSelected() {
    if (!hasSelection_) return;
    const int index = selectedIndex_;
    UpdateSelectionArea();
    hasSelection_ = false;
    selectedIndex_ = -1;
    shg_->Hotspots.Delete(index);
    modified_ = true;
    emit stateChanged();
}

void TfrmShg::AppendHotspot(const THotspot& h) {
    UpdateSelectionArea();
    shg_->Hotspots.Add(h);
    hasSelection_ = true;
    selectedIndex_ = shg_->Hotspots.Count() - 1;
    UpdateSelectionArea();
    modified_ = true;
    emit stateChanged();
}

void TfrmShg::PictureReplaced() {
    picture_ = shg_->Bitmap ? DibToImage(*shg_->Bitmap) : QImage();
    canvas_->updateGeometry();
    canvas_->adjustSize();
    canvas_->update();
}

void TfrmShg::ClampHotspots() {
    const int w = PictureWidth(), h = PictureHeight();
    // One axis: [lo, hi) brought into [0, size).
    auto clamp = [](std::int32_t& lo, std::int32_t& hi, int size) {
        if (size < hi - lo) {
            lo = 0;
            hi = size;
        } else if (lo >= size) {
            // Moved in whole: cutting it at the edge would leave no width.
            const std::int32_t width = hi - lo;
            hi = size;
            lo = size - width;
        } else if (hi > size) {
            hi = size;
        }
    };
    for (std::int32_t i = 0; i < shg_->Hotspots.Count(); ++i) {
        THotspot& spot = Item(i);
        clamp(spot.Left, spot.Right, w);
        clamp(spot.Top, spot.Bottom, h);
    }
    canvas_->update();
    emit stateChanged();
}

void TfrmShg::EditHotspotProperties() {
    if (!hasSelection_) return;
    TfrmHsProps dialog(frame_.Ui(), frame_.TopicNames(), frame_.PopupNames(), this);
    dialog.SetFields(THotspotFields::Of(Item(selectedIndex_)));
    if (!RunShgDialog(dialog)) return;
    const THotspotFields& f = dialog.Result();
    THotspot& h = Item(selectedIndex_);
    h.ID = f.ID;
    h.Kind = f.Kind;
    if (f.Kind == THotspotKind::Macro)
        h.Macro = f.Binding;
    else
        h.Context = f.Binding;
    h.Visible = f.Attribute == 0;
    // Stored the right way round and inside the picture, whatever was typed.
    const int w = PictureWidth(), ht = PictureHeight();
    const int left = std::clamp(std::min(f.Left, f.Right), 0, w);
    const int right = std::clamp(std::max(f.Left, f.Right), 0, w);
    const int top = std::clamp(std::min(f.Top, f.Bottom), 0, ht);
    const int bottom = std::clamp(std::max(f.Top, f.Bottom), 0, ht);
    SetRect(selectedIndex_, left, top, right, bottom);
    modified_ = true;
    emit stateChanged();
}

bool TfrmShg::QuerySave() {
    if (!modified_) return true;
    const MsgResult answer = frame_.Ui().Confirm(
        QStringLiteral("Save changes to ") + FromCp1252(shg_->FileName) + QStringLiteral("?"), MsgButtons::YesNoCancel);
    switch (answer) {
        case MsgResult::No: return true;
        case MsgResult::Yes: return frame_.SaveChild(*this);
        default: return false;
    }
}

void TfrmShg::closeEvent(QCloseEvent* event) {
    bool canClose = false;
    runCommand(
        frame_.Ui(), [&] { canClose = QuerySave(); }, [&] { canClose = false; });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

// ---- mouse, keys, paint -----------------------------------------------------------

void TfrmShg::FormMouseDown(Qt::MouseButton button, int x, int y) {
    const int w = PictureWidth(), h = PictureHeight();
    if (x < 0 || y < 0 || x > w || y > h) return;
    if (button == Qt::RightButton || button == Qt::MiddleButton) {
        SelectHotspot(shg_->Hotspots.HitTest(x, y));
        return;
    }
    if (button != Qt::LeftButton) return;
    dragOrigin_ = QPoint(x, y);
    if (hasSelection_) {
        const int handle = HandleAt(x, y);
        if (handle != -1) {
            resizing_ = true;
            handleIndex_ = handle;
            return;
        }
    }
    const int hit = shg_->Hotspots.HitTest(x, y);
    SelectHotspot(hit);
    if (hit != -1) {
        moving_ = true;
        return;
    }
    const TOptions& options = frame_.Options();
    THotspot created;
    created.Visible = options.DefAttribute == 0;
    created.Kind = static_cast<THotspotKind>(std::clamp(options.DefType, 0, 2));
    created.ID = options.DefID + std::to_string(shg_->Hotspots.Count() + 1);
    shg_->Hotspots.Add(created);
    creatingIndex_ = shg_->Hotspots.Count() - 1;
    creating_ = true;
    emit stateChanged();
}

void TfrmShg::UpdateCursor(int x, int y) {
    const int handle = HandleAt(x, y);
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (handle) {
        case 2:
        case 3: shape = Qt::SizeHorCursor; break;
        case 4:
        case 7: shape = Qt::SizeFDiagCursor; break;
        case 5:
        case 6: shape = Qt::SizeBDiagCursor; break;
        case 0:
        case 1: shape = Qt::SizeVerCursor; break;
        default: shape = shg_->Hotspots.HitTest(x, y) != -1 ? Qt::PointingHandCursor : Qt::ArrowCursor; break;
    }
    if (canvas_->cursor().shape() != shape) canvas_->setCursor(shape);
}

void TfrmShg::FormMouseMove(int x, int y) {
    UpdateCursor(x, y);
    const int w = PictureWidth(), ht = PictureHeight();
    if (resizing_ && hasSelection_) {
        const THotspot& h = Item(selectedIndex_);
        int left = h.Left, top = h.Top, right = h.Right, bottom = h.Bottom;
        switch (handleIndex_) {
            case 0: top = y; break;
            case 1: bottom = y; break;
            case 2: left = x; break;
            case 3: right = x; break;
            case 4: left = x, top = y; break;
            case 5: right = x, top = y; break;
            case 6: left = x, bottom = y; break;
            case 7: right = x, bottom = y; break;
            default: break;
        }
        if (right < left) handleIndex_ = MirrorVertical(handleIndex_);
        if (bottom < top) handleIndex_ = MirrorHorizontal(handleIndex_);
        if (right < left) std::swap(left, right);
        if (bottom < top) std::swap(top, bottom);
        top = std::max(top, 0);
        bottom = std::min(bottom, ht);
        left = std::max(left, 0);
        right = std::min(right, w);
        SetRect(selectedIndex_, left, top, right, bottom);
    } else if (moving_ && hasSelection_) {
        const THotspot& h = Item(selectedIndex_);
        const int dx = x - dragOrigin_.x(), dy = y - dragOrigin_.y();
        int left = h.Left + dx, top = h.Top + dy, right = h.Right + dx, bottom = h.Bottom + dy;
        // Held inside the picture without changing its size.
        if (top < 0) {
            bottom -= top;
            top = 0;
        } else if (bottom > ht) {
            top -= bottom - ht;
            bottom = ht;
        }
        if (left < 0) {
            right -= left;
            left = 0;
        } else if (right > w) {
            left -= right - w;
            right = w;
        }
        SetRect(selectedIndex_, left, top, right, bottom);
        dragOrigin_ = QPoint(x, y);
    } else if (creating_ && creatingIndex_ >= 0) {
        const int left = std::clamp(std::min(dragOrigin_.x(), x), 0, w);
        const int right = std::clamp(std::max(dragOrigin_.x(), x), 0, w);
        const int top = std::clamp(std::min(dragOrigin_.y(), y), 0, ht);
        const int bottom = std::clamp(std::max(dragOrigin_.y(), y), 0, ht);
        SetRect(creatingIndex_, left, top, right, bottom);
    } else {
        return;
    }
    modified_ = true;
    emit stateChanged();
}

void TfrmShg::FormMouseUp(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    moving_ = false;
    resizing_ = false;
    if (!creating_) return;
    creating_ = false;
    const int index = creatingIndex_;
    creatingIndex_ = -1;
    if (index < 0 || index >= shg_->Hotspots.Count()) return;
    // The rectangle as the release point makes it, whatever the moves made.
    const int w = PictureWidth(), ht = PictureHeight();
    const int left = std::clamp(std::min(dragOrigin_.x(), x), 0, w);
    const int right = std::clamp(std::max(dragOrigin_.x(), x), 0, w);
    const int top = std::clamp(std::min(dragOrigin_.y(), y), 0, ht);
    const int bottom = std::clamp(std::max(dragOrigin_.y(), y), 0, ht);
    if (left == right || top == bottom) {
        const THotspot& h = Item(index);
        UpdateHotspotArea(h.Left, h.Top, h.Right, h.Bottom);
        shg_->Hotspots.Delete(index);
        emit stateChanged();
        return;
    }
    SetRect(index, left, top, right, bottom);
    modified_ = true;
    SelectHotspot(index);
}

void TfrmShg::FormDblClick() {
    if (hasSelection_) EditHotspotProperties();
}

bool TfrmShg::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (moving_ || !hasSelection_) return false;
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) return false;
    const THotspot& h = Item(selectedIndex_);
    const int w = PictureWidth(), ht = PictureHeight();
    int left = h.Left, top = h.Top, right = h.Right, bottom = h.Bottom;
    bool ok = false;
    if (modifiers & Qt::ShiftModifier) {
        // The right or bottom edge, never below one pixel or beyond the picture.
        if (key == Qt::Key_Left) {
            ok = right - 1 > left;
            --right;
        } else if (key == Qt::Key_Right) {
            ok = right + 1 <= w;
            ++right;
        } else if (key == Qt::Key_Up) {
            ok = bottom - 1 > top;
            --bottom;
        } else {
            ok = bottom + 1 <= ht;
            ++bottom;
        }
    } else {
        int dx = 0, dy = 0;
        if (key == Qt::Key_Left) {
            ok = left - 1 >= 0;
            dx = -1;
        } else if (key == Qt::Key_Right) {
            ok = right + 1 <= w;
            dx = 1;
        } else if (key == Qt::Key_Up) {
            ok = top - 1 >= 0;
            dy = -1;
        } else {
            ok = bottom + 1 <= ht;
            dy = 1;
        }
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    // A key at its limit is used up all the same, so the view does not scroll.
    if (!ok) return true;
    SetRect(selectedIndex_, left, top, right, bottom);
    modified_ = true;
    emit stateChanged();
    return true;
}

void TfrmShg::FormPaint(QPainter& painter, const QRect& exposed) {
    if (exposed.isEmpty()) return;
    QImage buffer(exposed.size(), QImage::Format_RGB32);
    buffer.fill(Qt::white);
    {
        QPainter p(&buffer);
        p.translate(-exposed.topLeft());
        if (!picture_.isNull()) p.drawImage(QPoint(0, 0), picture_);
        // Outlines and handles invert what lies under them.
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        for (std::int32_t i = 0; i < shg_->Hotspots.Count(); ++i) {
            const THotspot& h = Item(i);
            DrawFrame(p, h.Left, h.Top, h.Right, h.Bottom);
        }
        if (hasSelection_)
            for (const QRect& r : Handles(Item(selectedIndex_))) p.fillRect(r, Qt::black);
    }
    painter.drawImage(exposed.topLeft(), buffer);
}

}  // namespace qm::shgedit
