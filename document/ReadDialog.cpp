// Reader of DIALOG and DIALOGEX resources: the header, the option statements, then the control
// block between BEGIN and END ("{" and "}"), one control per statement. Read exactly, the
// options are STYLE, an optional CAPTION and FONT in that order; read relaxed, any of the
// option statements in any order, and every control keyword with all its arguments.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/Numbers.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// Where each argument of a control statement stands (token positions from 1; 0 = absent).
// CONTROL counts its arguments after the keyword, split at commas only; the other keywords
// count the blank-and-comma split of the whole statement, keyword included.
struct ControlFormat {
  std::string_view keyword;
  std::string_view step;
  bool argumentsAfterKeyword;
  int text, id, map, controlType, style;
  bool styleAlways;  // otherwise the style is read only when the statement has that token
  int left;          // followed by top, width and height
  // Read relaxed only: the style where the exact reading has none, then the extended style
  // and the help ID, each when the statement has that token.
  int relaxedStyle, exStyle, helpId;
  bool exact;  // false: a keyword only relaxed reading fills
};

constexpr ControlFormat kControlFormats[] = {
    {"CONTROL", "07", true, 1, 2, 0, 3, 4, true, 5, 4, 9, 10, true},
    {"LTEXT", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"CTEXT", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"RTEXT", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"PUSHBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"DEFPUSHBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"GROUPBOX", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, true},
    {"ICON", "09", false, 0, 3, 2, 0, 0, false, 4, 8, 9, 10, true},
    {"EDITTEXT", "10", false, 0, 2, 0, 0, 7, false, 3, 7, 8, 9, true},
    {"LISTBOX", "10", false, 0, 2, 0, 0, 7, false, 3, 7, 8, 9, true},
    {"SCROLLBAR", "10", false, 0, 2, 0, 0, 7, false, 3, 7, 8, 9, true},
    {"COMBOBOX", "10", false, 0, 2, 0, 0, 7, false, 3, 7, 8, 9, true},
    {"PUSHBOX", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"CHECKBOX", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"AUTOCHECKBOX", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"STATE3", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"AUTO3STATE", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"RADIOBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
    {"AUTORADIOBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4, 8, 9, 10, false},
};

const ControlFormat* FindControlFormat(std::string_view keyword, bool relaxed) {
  for (const ControlFormat& format : kControlFormats)
    if (keyword == format.keyword) return format.exact || relaxed ? &format : nullptr;
  return nullptr;
}

// The dialog's option statements: what each fills. Read exactly, only STYLE, CAPTION and FONT
// are taken, in that order (the rule on top of this table in ProcessDialog).
enum class OptionFill { Style, Caption, Font, Text };
struct DialogOption {
  std::string_view keyword;
  std::string_view step;
  OptionFill fill;
  std::string clsDialog::*text;  // for OptionFill::Text: its arguments joined by ", "
};

constexpr DialogOption kDialogOptions[] = {
    {"STYLE", "02", OptionFill::Style, nullptr},
    {"CAPTION", "03", OptionFill::Caption, nullptr},
    {"FONT", "04", OptionFill::Font, nullptr},
    {"EXSTYLE", "02", OptionFill::Text, &clsDialog::ExStyle},
    {"MENU", "02", OptionFill::Text, &clsDialog::Menu},
    {"CLASS", "02", OptionFill::Text, &clsDialog::Class},
    {"LANGUAGE", "02", OptionFill::Text, &clsDialog::Language},
    {"VERSION", "02", OptionFill::Text, &clsDialog::Version},
    {"CHARACTERISTICS", "02", OptionFill::Text, &clsDialog::Characteristics},
};

const DialogOption* FindDialogOption(std::string_view keyword) {
  for (const DialogOption& option : kDialogOptions)
    if (keyword == option.keyword) return &option;
  return nullptr;
}

const DialogOption& OptionOf(std::string_view keyword) { return *FindDialogOption(keyword); }

// Left, top, width and height from four tokens starting at `first`; read relaxed, an ICON's
// width and height may be left out.
template <class Item>
void ReadPlacement(Item& item, const StatementTokens& tokens, int first, bool sizeOptional = false) {
  item.Left = ToInt16(tokens.Item(first));
  item.Top = ToInt16(tokens.Item(first + 1));
  if (sizeOptional && tokens.Count() < first + 3) return;
  item.Width = ToInt16(tokens.Item(first + 2));
  item.Height = ToInt16(tokens.Item(first + 3));
}

}  // namespace

bool clsRC::ProcessDialog(Int16& cursor) {
  Procedure procedure{"RCpD", "01"};
  const bool relaxed = m_options.layout == Layout::Relaxed;
  try {
    Int16 count;
    std::string joined, pair;  // statements that span lines
    // A statement's tokens, a CONTROL statement's arguments, and a style expression's flags.
    StatementTokens tokens, arguments, styles;
    auto statementAt = [&](Int16 line) {
      return relaxed ? RelaxedStatementAt(line, count, joined) : StatementAt(line, count, joined);
    };
    // The next statement: past the lines of the last one read, split at blanks and commas.
    auto nextStatement = [&] {
      cursor += count;
      SplitInto(statementAt(cursor), ' ', tokens);
    };
    auto readStyle = [&](clsStyle& style, std::string_view expression) {
      SplitInto(expression, '|', styles);
      style.AddStyleTokens(styles.Views());
      style.Line = cursor;
    };

    // Header: ID, keyword, optional memory options, then x, y, width, height. The coordinates
    // start at the first token from the third on that is a number.
    clsDialog dialog;
    dialog.Relaxed = relaxed;
    SplitInto(statementAt(cursor), ' ', tokens);
    dialog.ID = tokens.Item(1);
    dialog.ItemType = tokens.Item(2);
    int first = 3;
    while (!ReadsAsNumber(tokens.Item(first))) ++first;
    dialog.Disposition = first == 3 ? "DISCARDABLE" : tokens.Item(3);
    ReadPlacement(dialog, tokens, first);
    if (relaxed && tokens.Count() >= first + 4) dialog.HelpID = tokens.Item(first + 4);
    dialog.Line = cursor;

    // One option statement, split into `tokens`, into the dialog.
    auto fill = [&](const DialogOption& option) {
      procedure.Step = option.step;
      switch (option.fill) {
        case OptionFill::Style:
          readStyle(dialog.Style, tokens.Item(2));
          break;
        case OptionFill::Caption:
          // The caption's text may stand on the line after the keyword.
          if (tokens.Count() < 2) {
            pair = GetFullLine(cursor, count, 2);
            SplitInto(pair, ' ', tokens);
          }
          dialog.Caption.Text = tokens.Item(2);
          dialog.Caption.Line = cursor;
          break;
        case OptionFill::Font:
          dialog.Font.Size = ToInt16(tokens.Item(2));
          dialog.Font.Name = tokens.Item(3);
          dialog.Font.Line = cursor;
          // A DIALOGEX font's weight, italic and character set; the exact reading passes them over.
          if (relaxed) {
            std::string* extras[] = {&dialog.Font.Weight, &dialog.Font.Italic, &dialog.Font.CharSet};
            for (int k = 4; k <= std::min(tokens.Count(), 6); ++k) *extras[k - 4] = tokens.Item(k);
          }
          break;
        case OptionFill::Text:
          dialog.*option.text = tokens.JoinFrom(2);
          break;
      }
    };

    if (!relaxed) {
      // The exact rule: STYLE, an optional CAPTION (one blank or comment line before it passed
      // over), FONT, and the block's opening line right after it.
      procedure.Step = "02";
      nextStatement();
      if (tokens.Item(1) != "STYLE") {
        ShowMessageBox("Unable to process: " + dialog.ID + " style information.", cursor);
        return false;
      }
      fill(OptionOf("STYLE"));

      procedure.Step = "03";
      nextStatement();
      if (tokens.Count() > 0) {
        if (tokens.Item(1) == "CAPTION") fill(OptionOf("CAPTION"));
        else cursor -= count;  // not a caption: read this statement again as the font
      }

      procedure.Step = "04";
      nextStatement();
      if (tokens.Item(1) != "FONT") {
        ShowMessageBox("Unable to process: " + dialog.ID + " font information.", cursor);
        return false;
      }
      fill(OptionOf("FONT"));

      procedure.Step = "05";
      cursor += count;
      std::string_view begin = TrimmedLine(cursor);
      if (begin != "{" && begin != "BEGIN") {
        ShowMessageBox("Unable to process: " + dialog.ID + " begin controls.", cursor);
        return false;
      }
    } else {
      // Any option statement, in any order, each optional, up to the block's opening line;
      // blank, comment and preprocessor lines between them are passed over.
      procedure.Step = "02";
      for (;;) {
        cursor += count;
        count = 1;
        if (cursor > Lines.Count()) {
          ShowMessageBox("Unable to process: " + dialog.ID + " options.", cursor);
          return false;
        }
        std::string_view line = TrimmedLine(cursor);
        if (line == "{" || line == "BEGIN") break;
        SplitInto(statementAt(cursor), ' ', tokens);
        if (tokens.Count() == 0 || tokens.Item(1).starts_with('#')) continue;
        const DialogOption* option = FindDialogOption(tokens.Item(1));
        if (option == nullptr) {
          ShowMessageBox("Unable to process: " + dialog.ID + " options.", cursor);
          return false;
        }
        fill(*option);
      }
    }

    // The control block, up to its closing line or the end of the document.
    procedure.Step = "06";
    ++cursor;
    Int16 relIndex = 0;
    while (cursor <= Lines.Count()) {
      std::string_view line = TrimmedLine(cursor);
      if (line == "}" || line == "END") break;
      std::string_view statement = statementAt(cursor);
      SplitInto(statement, ' ', tokens);
      if (tokens.Count() > 0) {
        clsControl control;
        control.ItemType = tokens.Item(1);
        control.RelIndex = ++relIndex;
        control.Relaxed = relaxed;
        // A keyword outside the table still gives a control, with only its type and index.
        if (const ControlFormat* format = FindControlFormat(control.ItemType, relaxed)) {
          procedure.Step = format->step;
          control.Line = cursor;
          const StatementTokens* fields = &tokens;
          if (format->argumentsAfterKeyword) {
            // The statement as split holds no leading blank: what follows the keyword's length.
            std::string_view rest = statement;
            rest.remove_prefix(std::min(rest.size(), format->keyword.size()));
            SplitInto(TrimWhiteView(rest), ',', arguments);
            fields = &arguments;
          }
          if (format->text) control.Text = fields->Item(format->text);
          control.ID = fields->Item(format->id);
          if (format->map) control.Map = fields->Item(format->map);
          if (format->controlType) control.ControlType = fields->Item(format->controlType);
          const int style = relaxed ? format->relaxedStyle : format->style;
          if (format->styleAlways || (style && fields->Count() >= style))
            readStyle(control.Style, fields->Item(style));
          ReadPlacement(control, *fields, format->left, relaxed && format->map);
          if (relaxed && fields->Count() >= format->exStyle)
            control.ExStyle = TrimWhiteView(fields->Item(format->exStyle));
          if (relaxed && fields->Count() >= format->helpId)
            control.HelpID = TrimWhiteView(fields->Item(format->helpId));
        } else {
          Unread.push_back({control.ItemType, cursor, false});
        }
        dialog.Controls.Add(std::move(control));
      }
      cursor += count;
      SetProgress(cursor);
      YieldToHost();
    }

    dialog.LastLine = cursor;
    std::string id = dialog.ID;
    Dialogs.Add(std::move(dialog), std::move(id));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
