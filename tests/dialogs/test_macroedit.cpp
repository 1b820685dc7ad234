// The macro expression builder: the catalogue and its parameter rows, the
// expression list and its buttons, loading a call back into the edits, help,
// Macros.hlp, and the nested builder of a "macro" parameter.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/macroedit.h"
#include "tagform_fixture.h"

namespace qmtest {
namespace {

using qm::TfrmMacroEdit;

class MacroEditTest : public TagFormTest {
protected:
    static QStringList Lines(const TfrmMacroEdit& d) {
        QStringList out;
        for (int i = 0; i < d.lstExpression->count(); ++i) out << d.lstExpression->item(i)->text();
        return out;
    }
    static QStringList Edits(const TfrmMacroEdit& d, int count) {
        QStringList out;
        for (int i = 0; i < count; ++i) out << d.txtarg[static_cast<std::size_t>(i)]->text();
        return out;
    }
    // The rows a user can see, as "label=edit".
    static QStringList VisibleRows(const TfrmMacroEdit& d) {
        QStringList out;
        for (std::size_t i = 0; i < 6; ++i)
            if (!d.txtarg[i]->isHidden()) out << d.lblarg[i]->text() + "=" + d.txtarg[i]->text();
        return out;
    }
};

TEST_F(MacroEditTest, OpensOnTheFirstMacroWithNothingToAccept) {
    TfrmMacroEdit d(factory, macros);
    d.Activate();
    ASSERT_EQ(d.lstMacros->count(), 3);
    EXPECT_EQ(d.lstMacros->item(0)->text(), "About()");
    EXPECT_EQ(d.lstMacros->item(2)->text(), "AddAccelerator()");
    EXPECT_EQ(d.lstMacros->currentRow(), 0);
    EXPECT_EQ(d.lblDisplay->text(), "About()");
    EXPECT_FALSE(d.lblNoParams->isHidden());
    EXPECT_TRUE(VisibleRows(d).isEmpty());
    EXPECT_EQ(d.windowTitle(), "Macro Expression Builder");
    EXPECT_TRUE(d.cmdAdd->isEnabled());
    EXPECT_FALSE(d.cmdOk->isEnabled());
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdUpdate->isEnabled());
}

TEST_F(MacroEditTest, ShowingAMacroLaysOutOneEmptiedRowPerParameter) {
    TfrmMacroEdit d(factory, macros);
    d.show();
    d.txtarg[0]->setText("left over");
    d.lstMacros->setCurrentRow(1);
    EXPECT_EQ(d.lblDisplay->text(), "JumpId(\"filename\", \"context-string\")");
    EXPECT_EQ(VisibleRows(d), QStringList({"filename=", "context-string="}));
    EXPECT_TRUE(d.lblNoParams->isHidden());
    EXPECT_TRUE(d.cmdBrowseMacro->isHidden());

    d.lstMacros->setCurrentRow(2);
    EXPECT_EQ(VisibleRows(d), QStringList({"key=", "shift-state=", "macro="}));
    // The browse button stands beside the "macro" parameter's edit.
    ASSERT_FALSE(d.cmdBrowseMacro->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(d.cmdBrowseMacro->geometry().center().y(), d.txtarg[2]->geometry().center().y());
    EXPECT_GT(d.cmdBrowseMacro->geometry().left(), d.txtarg[2]->geometry().right());
}

TEST_F(MacroEditTest, SetExpressionListsOneLinePerCall) {
    struct Row {
        const char* name;
        std::string expression;
        QStringList lines;
    } rows[] = {
        {"two calls", "About();JumpId(a, b)", {"About()", "JumpId(a, b)"}},
        {"a final semicolon adds no call", "About();", {"About()"}},
        {"an empty piece between two semicolons", "About();;About()", {"About()", "", "About()"}},
        {"one call", "JumpId(x)", {"JumpId(x)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmMacroEdit d(factory, macros);
        d.SetExpression(row.expression);
        EXPECT_EQ(Lines(d), row.lines);
        EXPECT_EQ(d.lstExpression->currentRow(), 0);
        EXPECT_TRUE(d.cmdOk->isEnabled());
        EXPECT_TRUE(d.cmdRemove->isEnabled());
    }
}

TEST_F(MacroEditTest, OkWithoutChangesGivesTheExpressionBack) {
    ui.ExpectDialog("frmMacroEdit", ClickOk);
    EXPECT_EQ(factory.RunMacroBuilder(macros, "About();JumpId(a, b);Foo(1)"), "About();JumpId(a, b);Foo(1)");
}

TEST_F(MacroEditTest, CancelGivesNothing) {
    ui.ExpectDialog("frmMacroEdit", [](QDialog& d) {
        static_cast<TfrmMacroEdit&>(d).cmdAdd->click();
        d.reject();
        return d.result();
    });
    EXPECT_EQ(factory.RunMacroBuilder(macros, ""), std::nullopt);
}

TEST_F(MacroEditTest, LoadingACallFillsTheEditsOfItsMacro) {
    struct Row {
        const char* name;
        std::string call;
        QStringList edits;
    } rows[] = {
        {"three arguments for two parameters", "JumpId(a,b,c)", {"a", "b"}},
        {"one argument leaves the second empty", "JumpId(a)", {"a", ""}},
        {"blanks after the commas stay", "JumpId(a,  b)", {"a", "  b"}},
        {"the name matches in any case, blanks around it", " jumpid (x,y)", {"x", "y"}},
        {"no arguments", "JumpId()", {"", ""}},
        {"an unclosed call has empty arguments", "JumpId(", {"", ""}},
        {"an unclosed call keeps its last character", "JumpId(a,b", {"a", "b"}},
        {"text after the closing parenthesis", "JumpId(a,b) ", {"a", "b"}},
        {"quoted commas split too", "JumpId(\"a,b\",c)", {"\"a", "b\""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TfrmMacroEdit d(factory, macros);
        d.SetExpression(row.call);
        EXPECT_EQ(d.lstMacros->currentRow(), 1);
        EXPECT_EQ(Edits(d, 2), row.edits);
        EXPECT_EQ(VisibleRows(d).size(), 2);
    }
}

TEST_F(MacroEditTest, LoadingTheMacroAlreadySelectedEmptiesTheEditsFirst) {
    TfrmMacroEdit d(factory, macros);
    d.show();
    d.SetExpression("JumpId(a,b);JumpId(c)");
    d.txtarg[1]->setText("typed");
    d.LoadMacroCall(0);
    EXPECT_EQ(Edits(d, 2), QStringList({"a", "b"}));
    // The same macro again, by a click on the line: the second edit empties.
    const QRect second = d.lstExpression->visualItemRect(d.lstExpression->item(1));
    QTest::mouseClick(d.lstExpression->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(d.lstExpression->currentRow(), 1);
    EXPECT_EQ(Edits(d, 2), QStringList({"c", ""}));
}

TEST_F(MacroEditTest, ACallOfAnUnknownMacroChangesNothingAboveTheList) {
    ui.ExpectDialog("frmMacroEdit", [](QDialog& dialog) {
        auto& d = static_cast<TfrmMacroEdit&>(dialog);
        EXPECT_EQ(d.lstMacros->currentRow(), 0);  // the first line, Foo(1), loaded nothing
        d.lstExpression->setCurrentRow(1);        // JumpId(x,y)
        d.txtarg[0]->setText("kept");
        d.lstExpression->setCurrentRow(0);  // Foo(1)
        EXPECT_EQ(d.lstMacros->currentRow(), 1);
        EXPECT_EQ(d.txtarg[0]->text(), "kept");
        EXPECT_EQ(d.txtarg[1]->text(), "y");
        return ClickOk(d);
    });
    EXPECT_EQ(factory.RunMacroBuilder(macros, "Foo(1);JumpId(x,y)"), "Foo(1);JumpId(x,y)");
}

TEST_F(MacroEditTest, AddUpdateAndRemoveKeepTheListAndButtonsInStep) {
    TfrmMacroEdit d(factory, macros);
    d.Activate();
    d.lstMacros->setCurrentRow(1);
    d.txtarg[0]->setText("a");
    d.txtarg[1]->setText(" b");
    d.cmdAdd->click();
    d.lstMacros->setCurrentRow(0);
    d.cmdAdd->click();
    d.cmdAdd->click();
    EXPECT_EQ(Lines(d), QStringList({"JumpId(a, b)", "About()", "About()"}));
    EXPECT_EQ(d.lstExpression->currentRow(), 2);

    // Update rewrites the selected line from the shown macro and the edits.
    d.lstExpression->setCurrentRow(0);
    d.txtarg[0]->setText("x");
    d.cmdUpdate->click();
    EXPECT_EQ(Lines(d).front(), "JumpId(x, b)");

    // Removing selects the same row, else the last.
    d.lstExpression->setCurrentRow(1);
    d.cmdRemove->click();
    EXPECT_EQ(d.lstExpression->currentRow(), 1);
    d.cmdRemove->click();
    EXPECT_EQ(d.lstExpression->currentRow(), 0);
    EXPECT_TRUE(d.cmdOk->isEnabled());
    d.cmdRemove->click();
    EXPECT_EQ(d.lstExpression->count(), 0);
    EXPECT_FALSE(d.cmdOk->isEnabled());
    EXPECT_FALSE(d.cmdRemove->isEnabled());
    EXPECT_FALSE(d.cmdUpdate->isEnabled());
    EXPECT_TRUE(d.cmdAdd->isEnabled());
}

TEST_F(MacroEditTest, AnEmptyCatalogueOffersNothingToAdd) {
    const qm::TMacros none;
    TfrmMacroEdit d(factory, none);
    d.SetExpression("Foo(1)");
    EXPECT_EQ(d.lstMacros->count(), 0);
    EXPECT_TRUE(d.lblDisplay->text().isEmpty());
    EXPECT_TRUE(d.lblNoParams->isHidden());
    EXPECT_FALSE(d.cmdAdd->isEnabled());
    EXPECT_FALSE(d.cmdUpdate->isEnabled());
    EXPECT_FALSE(d.cmdMacroHelp->isEnabled());
    EXPECT_TRUE(d.cmdRemove->isEnabled());
    EXPECT_TRUE(d.cmdOk->isEnabled());
    d.cmdAdd->click();  // off, and harmless if reached
    EXPECT_EQ(Lines(d), QStringList({"Foo(1)"}));
}

TEST_F(MacroEditTest, HelpOpensContext245) {
    TfrmMacroEdit d(factory, macros);
    d.cmdHelp->click();
    EXPECT_EQ(ui.helpContexts, std::vector<int>({245}));
}

TEST_F(MacroEditTest, MacroHelpOpensMacrosHlpBesideTheProgramAtTheMacrosContext) {
    struct Row {
        const char* name;
        std::string folder;
        std::string file;
    } rows[] = {
        {"folder without separator", "/opt/quillmark", "/opt/quillmark/Macros.hlp"},
        {"folder with separator", "/opt/quillmark/", "/opt/quillmark/Macros.hlp"},
        {"Windows folder", "C:\\Quillmark", "C:\\Quillmark\\Macros.hlp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedUiServices services;
        qm::TDialogFactory f(services, row.folder);
        TfrmMacroEdit d(f, macros);
        d.lstMacros->setCurrentRow(1);
        d.cmdMacroHelp->click();
        ASSERT_EQ(services.viewer.shown.size(), 1u);
        EXPECT_EQ(services.viewer.shown[0].helpFile, row.file);
        EXPECT_EQ(services.viewer.shown[0].context, 12);
        EXPECT_TRUE(services.helpContexts.empty());
    }
}

TEST_F(MacroEditTest, TheFactoryNamesTheProgramsFolderWhenGivenNone) {
    const qm::TDialogFactory f(ui);
    EXPECT_FALSE(f.ProgramFolder().empty());
}

TEST_F(MacroEditTest, BrowseBuildsTheMacroArgumentInANestedBuilder) {
    QWidget* outer = nullptr;
    ui.ExpectDialog("frmMacroEdit", [&](QDialog& dialog) {
        auto& d = static_cast<TfrmMacroEdit&>(dialog);
        outer = &d;
        EXPECT_EQ(d.txtarg[2]->text(), " About() ");
        ui.ExpectDialog("frmMacroEdit", [&](QDialog& nestedDialog) {
            auto& nested = static_cast<TfrmMacroEdit&>(nestedDialog);
            EXPECT_EQ(nested.parentWidget(), outer);
            EXPECT_EQ(Lines(nested), QStringList({"About()"}));  // the trimmed argument
            nested.lstMacros->setCurrentRow(1);
            nested.txtarg[0]->setText("f.hlp");
            nested.txtarg[1]->setText("x");
            nested.cmdAdd->click();
            return ClickOk(nested);
        });
        d.cmdBrowseMacro->click();
        EXPECT_EQ(d.txtarg[2]->text(), "About();JumpId(f.hlp,x)");
        // A cancelled nested builder leaves the argument as it is.
        ui.ExpectDialog("frmMacroEdit", [](QDialog& nested) {
            nested.reject();
            return nested.result();
        });
        d.cmdBrowseMacro->click();
        EXPECT_EQ(d.txtarg[2]->text(), "About();JumpId(f.hlp,x)");
        d.cmdUpdate->click();
        return ClickOk(d);
    });
    EXPECT_EQ(factory.RunMacroBuilder(macros, "AddAccelerator(F1,0, About() )"),
              "AddAccelerator(F1,0,About();JumpId(f.hlp,x))");
}

TEST_F(MacroEditTest, ScreenshotWithAMacroParameter) {
    TfrmMacroEdit d(factory, macros);
    d.SetExpression("JumpId(\"guide.hlp\", \"intro\");AddAccelerator(0x70, 0, About())");
    d.lstExpression->setCurrentRow(1);
    Screenshot(d, "macroedit.png");
}

}  // namespace
}  // namespace qmtest
