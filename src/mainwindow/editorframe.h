#pragma once
// Small controls of the editor frame: the header of the Rich Text Output
// pane and the splitter whose handle hides that pane when clicked.
#include <QSplitter>
#include <QSplitterHandle>
#include <QWidget>

namespace qm {

// The pane's header (pbRtf): "Rich Text Output" in white bold on navy.
class TRtfHeader : public QWidget {
    Q_OBJECT
public:
    explicit TRtfHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// A splitter whose handles report a click (a press and a release without a
// drag between them); dragging a handle still moves it.
class TClickSplitter : public QSplitter {
    Q_OBJECT
public:
    using QSplitter::QSplitter;

signals:
    void handleClicked();

protected:
    QSplitterHandle* createHandle() override;
};

class TClickSplitterHandle : public QSplitterHandle {
    Q_OBJECT
public:
    TClickSplitterHandle(Qt::Orientation o, TClickSplitter* parent) : QSplitterHandle(o, parent), owner_(parent) {}

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TClickSplitter* owner_;
    QPoint pressed_;
    bool dragged_ = false;
};

}  // namespace qm
