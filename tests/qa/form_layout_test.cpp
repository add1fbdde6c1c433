// The component tree the form checks read: the same from the text and the binary form, fonts
// inherited as the form library does, and nothing taken from collection items.
#include "qa/form_layout.h"

#include "base/errors.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "support/corpus.h"
#include "support/file_read.h"

#include <gtest/gtest.h>

namespace wordloom::qa {
namespace {

constexpr const char* kForm = R"(object Dialog: TDialog
  Caption = 'Gr'#246'n'
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 120
  object Bar: TStatusBar
    Panels = <
      item
        Text = 'Ready'
        Width = 50
      end>
  end
  object List: TListView
    Width = 200
    Columns = <
      item
        Caption = 'Column'
        Width = 90
      end>
  end
  object Pages: TPanel
    Width = 400
    Font.Name = 'Segoe UI'
    Font.Size = 9
    ParentFont = False
    object Inherits: TButton
      Width = 75
      Caption = #1054#1050
    end
    object Bold: TButton
      Width = 80
      Caption = 'Bold'
      Font.Style = [fsBold, fsItalic]
    end
    object Back: TButton
      Caption = 'Back'
      Font.Name = 'Courier New'
      ParentFont = True
    end
    object Lines: TMemo
      Lines.Strings = (
        'one'
        'two')
    end
  end
  object Label1: TLabel
    AutoSize = False
    WordWrap = True
    Caption = 'Label'
  end
end
)";

void ExpectSameLayout(const FormLayout& a, const FormLayout& b) {
    ASSERT_EQ(a.Components().size(), b.Components().size());
    EXPECT_EQ(a.PixelsPerInch(), b.PixelsPerInch());
    for (std::size_t i = 0; i < a.Components().size(); ++i) {
        const FormComponent& x = a.Components()[i];
        const FormComponent& y = b.Components()[i];
        EXPECT_EQ(x.path, y.path);
        EXPECT_EQ(x.className, y.className);
        EXPECT_EQ(x.parent, y.parent);
        EXPECT_EQ(x.width, y.width) << x.path;
        EXPECT_EQ(x.caption, y.caption) << x.path;
        EXPECT_EQ(x.autoSize, y.autoSize) << x.path;
        EXPECT_EQ(x.glyphWidth, y.glyphWidth) << x.path;
        EXPECT_EQ(a.Font(int(i)), b.Font(int(i))) << x.path;
    }
}

TEST(FormLayoutTest, TreeSizesAndCaptions) {
    const FormLayout layout = FormLayout::Read(kForm, CodePage::ForCharset(1));
    const auto& c = layout.Components();
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(layout.PixelsPerInch(), 120);
    EXPECT_EQ(c[0].path, "Dialog");
    EXPECT_EQ(c[0].caption, "Grön");
    const int ok = layout.Find("Dialog.Pages.Inherits");
    ASSERT_GE(ok, 0);
    EXPECT_EQ(c[std::size_t(ok)].caption, "ОК");
    EXPECT_EQ(c[std::size_t(ok)].width, 75);
    EXPECT_EQ(c[std::size_t(c[std::size_t(ok)].parent)].name, "Pages");
    EXPECT_EQ(layout.Find("Dialog.Pages.Nothing"), -1);
    EXPECT_EQ(layout.Find("Dialog.Pages.Inh"), -1);
    // Collection items are no components: their Width and Caption stay theirs.
    const int bar = layout.Find("Dialog.Bar");
    const int list = layout.Find("Dialog.List");
    EXPECT_FALSE(c[std::size_t(bar)].width);
    EXPECT_EQ(c[std::size_t(list)].width, 200);
    EXPECT_FALSE(c[std::size_t(list)].caption);
    EXPECT_FALSE(c[std::size_t(layout.Find("Dialog.Pages.Lines"))].caption);
    const FormComponent& label = c[std::size_t(layout.Find("Dialog.Label1"))];
    EXPECT_EQ(label.autoSize, false);
    EXPECT_EQ(label.wordWrap, true);
}

TEST(FormLayoutTest, FontsComeFromTheParentUnlessTheControlHasItsOwn) {
    const FormLayout layout = FormLayout::Read(kForm, CodePage::ForCharset(1));
    const ResolvedFont form = layout.Font(0);
    EXPECT_EQ(form.name, "Tahoma");
    EXPECT_EQ(form.pixelSize, 11);
    EXPECT_FALSE(form.bold);
    // The panel's own font, 9 points at 120 pixels per inch.
    const ResolvedFont panel = layout.Font(layout.Find("Dialog.Pages"));
    EXPECT_EQ(panel.name, "Segoe UI");
    EXPECT_EQ(panel.pixelSize, 15);
    EXPECT_EQ(layout.Font(layout.Find("Dialog.Pages.Inherits")), panel);
    // A control storing only a style keeps the rest of its parent's font.
    const ResolvedFont bold = layout.Font(layout.Find("Dialog.Pages.Bold"));
    EXPECT_EQ(bold.name, "Segoe UI");
    EXPECT_EQ(bold.pixelSize, 15);
    EXPECT_TRUE(bold.bold);
    EXPECT_TRUE(bold.italic);
    EXPECT_FALSE(bold.underline);
    // ParentFont stated: a font stored beside it does not count.
    EXPECT_EQ(layout.Font(layout.Find("Dialog.Pages.Back")), panel);
    // A form naming no font draws with the default one.
    const FormLayout plain = FormLayout::Read("object F: TForm\nend\n", CodePage::ForCharset(1));
    EXPECT_EQ(plain.Font(0), ResolvedFont{});
    EXPECT_EQ(plain.PixelsPerInch(), 96);
}

TEST(FormLayoutTest, BinaryFormGivesTheSameTree) {
    ExpectSameLayout(FormLayout::Read(kForm, CodePage::ForCharset(1)),
                     FormLayout::Read(TextToBinaryForm(kForm), CodePage::ForCharset(1)));
}

TEST(FormLayoutTest, BrokenFormThrows) {
    EXPECT_THROW(FormLayout::Read("object F: TForm\n  Width = \nend\n", CodePage::ForCharset(1)), FormError);
    EXPECT_THROW(FormLayout::Read("\xFF\x0A\x00", CodePage::ForCharset(1)), FormError);
}

TEST(FormLayoutCorpusTest, GlyphWidthOfARealSpeedButton) {
    const std::filesystem::path form = "HeidiSQL/components/synedit/Source/SynAutoCorrectEditor.dfm";
    if (const std::string missing = test::CorpusMissing(form); !missing.empty())
        GTEST_SKIP() << missing;
    const FormLayout layout = FormLayout::Read(ReadBytes(test::CorpusRoot() / form), CodePage::ForCharset(1));
    const int add = layout.Find("frmAutoCorrectEditor.btnAdd");
    ASSERT_GE(add, 0);
    const FormComponent& button = layout.Components()[std::size_t(add)];
    EXPECT_EQ(button.glyphWidth, 16);
    EXPECT_EQ(button.width, 65);
    EXPECT_EQ(button.caption, " &Add");
}

// Real binary forms (wide strings, code pages, collections, bitmaps): read directly and through
// their text form, the trees agree.
TEST(FormLayoutCorpusTest, BinaryAndTextFormsOfRealFormsAgree) {
    const std::filesystem::path folder = "DelphiForFUN";
    if (const std::string missing = test::CorpusMissing(folder); !missing.empty())
        GTEST_SKIP() << missing;
    int compared = 0;
    for (const auto& path : test::CorpusFiles({".dfm"}, folder)) {
        const std::string bytes = ReadBytes(path);
        if (IsTextForm(bytes))
            continue;
        std::string text;
        try {
            text = BinaryFormToText(bytes);
        } catch (const FormError&) {
            continue; // not a form this reader takes; the codec's own tests cover that
        }
        SCOPED_TRACE(path.string());
        ExpectSameLayout(FormLayout::Read(bytes, CodePage::ForCharset(1)),
                         FormLayout::Read(text, CodePage::ForCharset(1)));
        ++compared;
    }
    EXPECT_GT(compared, 150);
}

} // namespace
} // namespace wordloom::qa
