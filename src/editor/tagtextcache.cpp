#include "editor/tagtextcache.h"

#include <QTextDocument>
#include <QTextEdit>

namespace qm {

TTagTextCache::TTagTextCache(QTextEdit* editor) : editor_(editor) { watch(editor->document()); }

void TTagTextCache::watch(QTextDocument* document) {
    if (document_) disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    stale_ = true;
    if (document_) connect(document_, &QTextDocument::contentsChanged, this, [this] { stale_ = true; });
}

const TTagText& TTagTextCache::Text() {
    if (!editor_) {
        text_ = TTagText();
        return text_;
    }
    // A document put in place of the old one is watched from now on.
    if (editor_->document() != document_) watch(editor_->document());
    if (stale_) {
        // The raw text keeps one unit per position: paragraph and line
        // separators stay what they are.
        text_.Assign(document_->toRawText().toStdU16String());
        stale_ = false;
        ++copies_;
    }
    return text_;
}

}  // namespace qm
