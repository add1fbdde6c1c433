#include "support/project_generator.h"

#include "support/file_read.h"

#include "forms/form_stream.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace wordloom {

namespace {

constexpr std::array<std::string_view, 64> kWords = {
    "file",    "open",     "save",    "close",    "print",    "preview", "edit",    "copy",
    "paste",   "delete",   "insert",  "record",   "table",    "field",   "value",   "name",
    "address", "city",     "country", "phone",    "customer", "order",   "invoice", "total",
    "amount",  "date",     "time",    "report",   "settings", "options", "help",    "about",
    "search",  "replace",  "next",    "previous", "first",    "last",    "cancel",  "apply",
    "error",   "warning",  "message", "status",   "ready",    "loading", "please",  "wait",
    "user",    "password", "login",   "server",   "database", "connect", "account", "balance",
    "product", "price",    "stock",   "supplier", "new",      "old",     "color",   "size"};

// Texts come from a pool with a skewed choice, so that a few texts ("OK", "Cancel") recur in many
// files and most occur once or twice: about one distinct text per kilobyte of source, as in the
// real projects of the test corpus.
class TextMaker {
public:
    explicit TextMaker(unsigned seed, int poolSize) : m_random(seed) {
        m_pool.reserve(static_cast<std::size_t>(poolSize));
        for (int i = 0; i < poolSize; ++i) {
            m_pool.push_back(MakePhrase(i));
        }
    }

    std::string Phrase(int /*fileNumber*/) {
        const double u = std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
        const auto index = static_cast<std::size_t>(u * u * u * static_cast<double>(m_pool.size()));
        return m_pool[std::min(index, m_pool.size() - 1)];
    }
    unsigned Next(unsigned bound) { return m_random() % bound; }

private:
    std::string MakePhrase(int number) {
        const int words = 1 + static_cast<int>(m_random() % 5);
        std::string phrase;
        for (int i = 0; i < words; ++i) {
            if (i > 0) {
                phrase += ' ';
            }
            phrase += kWords[m_random() % kWords.size()];
        }
        phrase[0] = static_cast<char>(phrase[0] - 'a' + 'A');
        if (m_random() % 4 == 0) {
            phrase += ' ' + std::to_string(number);
        }
        return phrase;
    }

    std::mt19937 m_random;
    std::vector<std::string> m_pool;
};

// A glyph's bitmap as the form writer lays out binary data: hex lines of 64 digits.
std::string GlyphData(TextMaker& maker) {
    std::string data = "    Glyph.Data = {\r\n";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int line = 0; line < 16; ++line) {
        data += "      ";
        for (int i = 0; i < 64; ++i) {
            data += kHex[maker.Next(16)];
        }
        data += line == 15 ? "}\r\n" : "\r\n";
    }
    return data;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string MakeForm(int number, TextMaker& maker) {
    const std::string n = std::to_string(number);
    std::string form;
    form += "object Form" + n + ": TForm" + n + "\r\n";
    form += "  Left = 192\r\n  Top = 107\r\n  Width = 640\r\n  Height = 480\r\n";
    form += "  Caption = " + Quoted(maker.Phrase(number)) + "\r\n";
    form += "  Color = clBtnFace\r\n  Font.Charset = DEFAULT_CHARSET\r\n  Font.Color = clWindowText\r\n";
    form += "  Font.Height = -11\r\n  Font.Name = 'MS Sans Serif'\r\n  Font.Style = []\r\n";
    form += "  OldCreateOrder = False\r\n  PixelsPerInch = 96\r\n  TextHeight = 13\r\n";
    const int controls = 8 + static_cast<int>(maker.Next(8));
    for (int c = 0; c < controls; ++c) {
        const std::string id = std::to_string(c + 1);
        switch (maker.Next(6)) {
        case 0:
            form +=
                "  object Label" + id +
                ": TLabel\r\n    Left = 8\r\n    Top = " + std::to_string(8 + 24 * c) +
                "\r\n    Width = 120\r\n    Height = 13\r\n    Caption = " + Quoted(maker.Phrase(number)) +
                "\r\n    FocusControl = Edit" + id + "\r\n  end\r\n";
            break;
        case 1:
            form += "  object Button" + id +
                    ": TButton\r\n    Left = 472\r\n    Top = " + std::to_string(8 + 24 * c) +
                    "\r\n    Width = 75\r\n    Height = 25\r\n    Hint = ' " + maker.Phrase(number) +
                    " '\r\n    Caption = '&" + maker.Phrase(number) + "'\r\n" + GlyphData(maker) +
                    "    TabOrder = " + id + "\r\n    OnClick = Button" + id + "Click\r\n  end\r\n";
            break;
        case 2: {
            form += "  object ComboBox" + id +
                    ": TComboBox\r\n    Left = 128\r\n    Top = " + std::to_string(8 + 24 * c) +
                    "\r\n    Width = 145\r\n    Height = 21\r\n    Items.Strings = (\r\n";
            const int items = 2 + static_cast<int>(maker.Next(6));
            for (int i = 0; i < items; ++i) {
                form += "      " + Quoted(maker.Phrase(number)) + (i + 1 == items ? ")\r\n" : "\r\n");
            }
            form += "    TabOrder = " + id + "\r\n  end\r\n";
            break;
        }
        case 3:
            form += "  object Memo" + id +
                    ": TMemo\r\n    Left = 8\r\n    Top = " + std::to_string(8 + 24 * c) +
                    "\r\n    Width = 400\r\n    Height = 89\r\n    Lines.Strings = (\r\n      " +
                    Quoted(maker.Phrase(number) + " " + maker.Phrase(number)) + "\r\n      " +
                    Quoted(maker.Phrase(number)) + ")\r\n    TabOrder = " + id + "\r\n  end\r\n";
            break;
        case 4:
            form += "  object Panel" + id +
                    ": TPanel\r\n    Left = 0\r\n    Top = " + std::to_string(8 + 24 * c) +
                    "\r\n    Width = 632\r\n    Height = 41\r\n    Caption = \r\n      " +
                    Quoted(maker.Phrase(number) + " " + maker.Phrase(number) + " ") + " +\r\n      " +
                    Quoted(maker.Phrase(number)) + "\r\n    TabOrder = " + id + "\r\n  end\r\n";
            break;
        default:
            form += "  object Edit" + id +
                    ": TEdit\r\n    Left = 128\r\n    Top = " + std::to_string(8 + 24 * c) +
                    "\r\n    Width = 121\r\n    Height = 21\r\n    Hint = 'Gr'#246#223'e " +
                    maker.Phrase(number) + "'\r\n    Text = " + Quoted(maker.Phrase(number)) +
                    "\r\n    TabOrder = " + id + "\r\n  end\r\n";
            break;
        }
    }
    form += "end\r\n";
    return form;
}

std::string MakeUnit(int number, TextMaker& maker) {
    const std::string n = std::to_string(number);
    std::string unit =
        "unit Unit" + n +
        ";\r\n\r\ninterface\r\n\r\nuses\r\n"
        "  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs;\r\n\r\n"
        "type\r\n  TForm" +
        n +
        " = class(TForm)\r\n    procedure FormCreate(Sender: TObject);\r\n"
        "  private\r\n    { Private declarations }\r\n  public\r\n    { Public declarations }\r\n"
        "  end;\r\n\r\nvar\r\n  Form" +
        n + ": TForm" + n +
        ";\r\n\r\nimplementation\r\n\r\n"
        "{$R *.DFM}\r\n\r\nresourcestring\r\n";
    for (int r = 0; r < 4; ++r) {
        unit += "  SText" + std::to_string(r) + " = " + Quoted(maker.Phrase(number)) + ";\r\n";
    }
    const int procedures = 6 + static_cast<int>(maker.Next(6));
    for (int p = 0; p < procedures; ++p) {
        const std::string id = std::to_string(p);
        unit += "\r\n{ Handles step " + id + " of the dialog: it's called from the\r\n  form's events }\r\n";
        unit += "procedure TForm" + n + ".Step" + id +
                "(Sender: TObject);\r\nvar\r\n  s: string;\r\n"
                "  i: Integer;\r\nbegin\r\n";
        unit += "  // Don't change the order: 'legacy' callers depend on it\r\n";
        // append, not " " + temporary: GCC 12 at -O3 takes that insert for an overlapping copy.
        unit += "  s := " + Quoted(maker.Phrase(number) + " ") + " + IntToStr(i) + " +
                Quoted(std::string(" ").append(maker.Phrase(number))) + ";\r\n";
        unit += "  if s = '' then\r\n    ShowMessage(" + Quoted(maker.Phrase(number)) + ")\r\n  else\r\n";
        unit += "    Caption := Format(" + Quoted(maker.Phrase(number) + " %d") + ", [i]); { update }\r\n";
        unit += "  for i := 0 to Count - 1 do\r\n    Items[i] := Items[i] + ';';\r\n";
        unit += "  if Assigned(FOnChange) and not (csLoading in ComponentState) then\r\n"
                "  begin\r\n    FOnChange(Self);\r\n    Invalidate;\r\n  end;\r\n"
                "  with Canvas do\r\n  begin\r\n    Brush.Color := clWindow;\r\n"
                "    FillRect(ClientRect);\r\n    TextOut(2, 2, s);\r\n  end;\r\n";
        unit += "  Label1.Hint := 'It''s " + maker.Phrase(number) + "';\r\nend;\r\n";
    }
    unit += "\r\nend.\r\n";
    return unit;
}

} // namespace

std::string GenerateLargeForm(int forms, unsigned seed) {
    TextMaker maker(seed, std::max(1000, forms * 8));
    std::string text = "object LargeForm: TLargeForm\r\n  Left = 0\r\n  Top = 0\r\n";
    for (int i = 1; i <= forms; ++i) {
        const std::string form = MakeForm(i, maker);
        // Each form becomes a child object, indented one level as the writer would lay it out.
        std::size_t start = 0;
        while (start < form.size()) {
            const std::size_t end = form.find('\n', start) + 1;
            text += "  ";
            text.append(form, start, end - start);
            start = end;
        }
    }
    text += "end\r\n";
    return text;
}

GeneratedProject GenerateProject(const std::string& directory, const GeneratorOptions& options) {
    GeneratedProject project;
    project.directory = directory.empty() || directory.back() != '/' ? directory + "/" : directory;
    project.projectPath = project.directory + "Generated.dpr";
    std::filesystem::create_directories(project.directory);
    TextMaker maker(options.seed, std::max(1000, (options.forms + options.units) * 4));
    WriteBytes(project.projectPath, "program Generated;\r\nbegin\r\nend.\r\n");
    for (int i = 1; i <= options.forms; ++i) {
        std::string form = MakeForm(i, maker);
        if (options.binaryEvery > 0 && i % options.binaryEvery == 0) {
            form = TextToBinaryForm(form);
        }
        project.formBytes += form.size();
        WriteBytes(project.directory + "Form" + std::to_string(i) + ".dfm", form);
    }
    for (int i = 1; i <= options.units; ++i) {
        const std::string unit = MakeUnit(i, maker);
        project.unitBytes += unit.size();
        WriteBytes(project.directory + "Unit" + std::to_string(i) + ".pas", unit);
    }
    return project;
}

} // namespace wordloom
