#pragma once
// The paragraph ruler above the topic editor: a scale and three indent
// markers (first line, following lines, right indent) that the user drags.
// It knows nothing of the editor: the main window sets the markers from the
// paragraph at the caret (SetIndents), shows a guide line while a marker
// moves (markerMove) and applies the markers when a drag ends (changed).
//
// The rules live in TRulerModel (editor/rulermodel.h); this widget feeds it
// the mouse, raises its events in order and repaints it whole. Its rows are
// laid out for its fixed height of 33 and it has no frame.
#include <QWidget>

#include "editor/rulermodel.h"

namespace qm {

class TRuler : public QWidget {
    Q_OBJECT
public:
    explicit TRuler(QWidget* parent = nullptr);

    // x of the scale's zero: where the editor's text starts.
    void SetOrigin(int x);
    // start: the first line's indent; offset: the following lines' from it;
    // right: the right indent. Pixels.
    void SetIndents(int start, int offset, int right);
    // 0 pixels, 1 inches, 2 centimetres.
    void SetScaleMode(int mode);

    // The first line's indent.
    int GetLeftIndent() const { return model_.GetLeftIndent(); }
    // The following lines' offset from the first line.
    int GetFirstIndent() const { return model_.GetFirstIndent(); }
    int GetRightIndent() const { return model_.GetRightIndent(); }
    int ScaleMode() const { return model_.ScaleMode; }
    int Origin() const { return model_.LeftMargin; }
    // The last x a drag reported (-1 at the start of a drag).
    int LastPosition() const { return model_.LastPosition; }
    bool Dragging() const { return model_.Dragging(); }
    // The state as painted: the margins, the width and the screen's
    // resolution are brought up to date first.
    const TRulerModel& Model() const;

    // The width kept free at the right end of the scale.
    int RightMargin = 10;

signals:
    // A marker's drag started or moved; x is its new place on the ruler.
    void markerMove(int x);
    // A drag ended: read the indents.
    void changed();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TRulerModel& sync() const;
    void emitEvents(const std::vector<TRulerEvent>& events);
    // The mouse went elsewhere in the middle of a drag: it ends as a release.
    void endDrag();

    mutable TRulerModel model_;
};

}  // namespace qm
