#pragma once
// The rich-text control as the spell scan's target. Positions are the
// control's plain-text positions (a paragraph break counts as one); each
// position gives one Windows-1252 byte, and a character that code page cannot
// hold gives a byte that is no word character. Every change of the document
// is reported to the scan, so edits made while the dialog waits move it.
#include <QObject>
#include <string>
#include <string_view>

#include "spell/spelltarget.h"

class QString;

namespace qm {

class TCustomRichText2;

// The Windows-1252 bytes of `text`, one per UTF-16 unit: a paragraph or line
// break becomes LF, anything the code page lacks (surrogates included) '?'.
std::string SpellBytesOf(const QString& text);

class TRichTextSpellTarget : public QObject, public TSpellTarget {
    Q_OBJECT
public:
    // Shows the control's selection while the target lives, also when the
    // dialog has the focus, so the word asked about is seen.
    explicit TRichTextSpellTarget(TCustomRichText2& editor);
    ~TRichTextSpellTarget() override;

    int Length() const override;
    std::string Text() const override;
    int SelStart() const override;
    int SelLength() const override;
    void Select(int start, int length) override;
    // Through SetSelText: one undo step, the format of the replaced text.
    void ReplaceSelection(std::string_view text) override;
    // From the cursor rectangles of both ends, mapped to the screen.
    TSpellBox ScreenBox(int start, int length) const override;
    void Focus() override;

private:
    std::string range(int start, int length) const;
    TCustomRichText2& editor_;
    bool hideSelection_;
};

}  // namespace qm
