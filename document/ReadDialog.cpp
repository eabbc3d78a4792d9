// Reader of DIALOG and DIALOGEX resources: the header, STYLE, an optional CAPTION, FONT, then
// the control block between BEGIN and END ("{" and "}"), one control per statement.
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
};

constexpr ControlFormat kControlFormats[] = {
    {"CONTROL", "07", true, 1, 2, 0, 3, 4, true, 5},
    {"LTEXT", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"CTEXT", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"RTEXT", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"PUSHBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"DEFPUSHBUTTON", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"GROUPBOX", "08", false, 2, 3, 0, 0, 8, false, 4},
    {"ICON", "09", false, 0, 3, 2, 0, 0, false, 4},
    {"EDITTEXT", "10", false, 0, 2, 0, 0, 7, false, 3},
    {"LISTBOX", "10", false, 0, 2, 0, 0, 7, false, 3},
    {"SCROLLBAR", "10", false, 0, 2, 0, 0, 7, false, 3},
    {"COMBOBOX", "10", false, 0, 2, 0, 0, 7, false, 3},
};

const ControlFormat* FindControlFormat(std::string_view keyword) {
  for (const ControlFormat& format : kControlFormats)
    if (keyword == format.keyword) return &format;
  return nullptr;
}

// Left, top, width and height from four tokens starting at `first`.
template <class Item>
void ReadPlacement(Item& item, const StatementTokens& tokens, int first) {
  item.Left = ToInt16(tokens.Item(first));
  item.Top = ToInt16(tokens.Item(first + 1));
  item.Width = ToInt16(tokens.Item(first + 2));
  item.Height = ToInt16(tokens.Item(first + 3));
}

}  // namespace

bool clsRC::ProcessDialog(Int16& cursor) {
  Procedure procedure{"RCpD", "01"};
  try {
    Int16 count;
    std::string joined, pair;  // statements that span lines
    // A statement's tokens, a CONTROL statement's arguments, and a style expression's flags.
    StatementTokens tokens, arguments, styles;
    // The next statement: past the lines of the last one read, split at blanks and commas.
    auto nextStatement = [&] {
      cursor += count;
      SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
    };
    auto readStyle = [&](clsStyle& style, std::string_view expression) {
      SplitInto(expression, '|', styles);
      style.AddStyleTokens(styles.Views());
      style.Line = cursor;
    };

    // Header: ID, keyword, optional memory options, then x, y, width, height. The coordinates
    // start at the first token from the third on that is a number.
    clsDialog dialog;
    SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
    dialog.ID = tokens.Item(1);
    dialog.ItemType = tokens.Item(2);
    int first = 3;
    while (!ReadsAsNumber(tokens.Item(first))) ++first;
    dialog.Disposition = first == 3 ? "DISCARDABLE" : tokens.Item(3);
    ReadPlacement(dialog, tokens, first);
    dialog.Line = cursor;

    procedure.Step = "02";
    nextStatement();
    if (tokens.Item(1) != "STYLE") {
      ShowMessageBox("Unable to process: " + dialog.ID + " style information.", cursor);
      return false;
    }
    readStyle(dialog.Style, tokens.Item(2));

    // An optional CAPTION, whose text may stand on the line after the keyword. One blank or
    // comment line here is passed over.
    procedure.Step = "03";
    nextStatement();
    if (tokens.Count() > 0) {
      if (tokens.Item(1) == "CAPTION") {
        if (tokens.Count() < 2) {
          pair = GetFullLine(cursor, count, 2);
          SplitInto(pair, ' ', tokens);
        }
        dialog.Caption.Text = tokens.Item(2);
        dialog.Caption.Line = cursor;
      } else {
        cursor -= count;  // not a caption: read this statement again as the font
      }
    }

    procedure.Step = "04";
    nextStatement();
    if (tokens.Item(1) != "FONT") {
      ShowMessageBox("Unable to process: " + dialog.ID + " font information.", cursor);
      return false;
    }
    dialog.Font.Size = ToInt16(tokens.Item(2));
    dialog.Font.Name = tokens.Item(3);
    dialog.Font.Line = cursor;

    procedure.Step = "05";
    cursor += count;
    std::string_view begin = TrimmedLine(cursor);
    if (begin != "{" && begin != "BEGIN") {
      ShowMessageBox("Unable to process: " + dialog.ID + " begin controls.", cursor);
      return false;
    }

    // The control block, up to its closing line or the end of the document.
    procedure.Step = "06";
    ++cursor;
    Int16 relIndex = 0;
    while (cursor <= Lines.Count()) {
      std::string_view line = TrimmedLine(cursor);
      if (line == "}" || line == "END") break;
      std::string_view statement = StatementAt(cursor, count, joined);
      SplitInto(statement, ' ', tokens);
      if (tokens.Count() > 0) {
        clsControl control;
        control.ItemType = tokens.Item(1);
        control.RelIndex = ++relIndex;
        // A keyword outside the table still gives a control, with only its type and index.
        if (const ControlFormat* format = FindControlFormat(control.ItemType)) {
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
          if (format->styleAlways || (format->style && fields->Count() >= format->style))
            readStyle(control.Style, fields->Item(format->style));
          ReadPlacement(control, *fields, format->left);
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
