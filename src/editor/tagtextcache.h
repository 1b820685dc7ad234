#pragma once
// The editor's plain text for finding the tag at a place, copied once after
// each change and read as often as wanted: a mouse move over the editor
// copies nothing.
#include <QObject>
#include <QPointer>

#include "preprocess/edittags.h"

class QTextDocument;
class QTextEdit;

namespace qm {

class TTagTextCache : public QObject {
    Q_OBJECT
public:
    explicit TTagTextCache(QTextEdit* editor);

    // The editor's text as it stands (one unit per position), copied again
    // only when it changed since the last call.
    const TTagText& Text();
    // How often the text was copied, for the tests.
    int Copies() const { return copies_; }

private:
    void watch(QTextDocument* document);

    QPointer<QTextEdit> editor_;
    QPointer<QTextDocument> document_;
    bool stale_ = true;
    TTagText text_;
    int copies_ = 0;
};

}  // namespace qm
