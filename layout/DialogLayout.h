// DialogLayout: a dialog of a loaded script placed on screen as Windows would place it. Every
// control gets its kind (from its statement keyword, or from the window class and style of a
// CONTROL statement), its rectangle in dialog units, and its text as the user sees it, measured
// with the font the dialog's FONT statement maps to.
//
// A horizontal dialog unit is a quarter of the font's average character width and a vertical
// one an eighth of its height, both in pixels at 96 DPI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "layout/FontMap.h"

namespace tamrel {

class clsRC;
class clsDialog;
class clsControl;
class TextMeasurer;

enum class ControlKind {
  PushButton,     // PUSHBUTTON, or BUTTON class with BS_PUSHBUTTON
  DefPushButton,  // DEFPUSHBUTTON, or BS_DEFPUSHBUTTON
  CheckBox,       // CHECKBOX, AUTOCHECKBOX, STATE3, AUTO3STATE, or their BS_ styles
  RadioButton,    // RADIOBUTTON, AUTORADIOBUTTON, or their BS_ styles
  GroupBox,       // GROUPBOX, or BS_GROUPBOX
  Static,         // LTEXT, CTEXT, RTEXT, or STATIC class with a text style
  Edit,           // EDITTEXT, or EDIT class
  ListBox,        // LISTBOX, or LISTBOX class
  ComboBox,       // COMBOBOX, or COMBOBOX class
  Icon,           // ICON, or STATIC class with SS_ICON / SS_BITMAP
  ScrollBar,      // SCROLLBAR, or SCROLLBAR class
  Other,          // any other window class: drawn as a labelled box, never checked for fit
};

enum class TextAlign { Left, Center, Right };

// A rectangle in dialog units, relative to the dialog's client area.
struct RectDu {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// One line of a laid-out text, as drawn.
struct TextLine {
  std::string text;      // UTF-8
  double widthPx = 0.0;  // advance of the shaped line at 96 DPI
};

// A text as the user sees it: escapes decoded, in UTF-8, the '&' mnemonic markers removed
// ("&&" stands for one '&'), wrapped into lines where the control wraps its text.
struct LaidOutText {
  std::string text;          // the whole text, markers removed, before wrapping
  char32_t mnemonic = 0;     // the character after a single '&', lower-cased; 0 for none
  std::vector<TextLine> lines;
  double widthPx = 0.0;      // the widest line
  double heightPx = 0.0;     // all lines
  bool decoded = true;       // false when the literal could not be read (the text is then empty)
  MappedFont font;           // the font measured: the dialog's, or a script's for other characters
  double pixelSize = 0.0;    // the em size it is measured at
  double lineHeightPx = 0.0; // one line of it
  bool wrapped = false;      // broken into lines at word boundaries to fit the control's width
};

struct ControlLayout {
  const clsControl* control = nullptr;  // never null; points into the loaded model
  ControlKind kind = ControlKind::Other;
  TextAlign align = TextAlign::Left;
  RectDu rect;
  bool hasText = false;  // a control whose text is drawn as a label (not an edit box's or an icon's)
  LaidOutText text;
  // The space the text needs and has, in dialog units, with the kind's margins (a push button's
  // border, a check box's box) taken into account. Zero for a control without text.
  double needWidthDu = 0.0;
  double haveWidthDu = 0.0;
  double needHeightDu = 0.0;
  double haveHeightDu = 0.0;
};

struct DialogLayout {
  const clsDialog* dialog = nullptr;  // never null; points into the loaded model
  MappedFont font;                    // the font measured and drawn
  double pointSize = 8.0;             // from FONT, or the default when the dialog has none
  double pixelSize = 0.0;             // pointSize at 96 DPI
  double pxPerDuX = 0.0;              // pixels per horizontal dialog unit
  double pxPerDuY = 0.0;              // pixels per vertical dialog unit
  RectDu rect;                        // the client area: 0, 0, Width, Height
  LaidOutText caption;                // in the title bar's font (FontMap::CaptionFace)
  // The caption's width with the title bar's icon and buttons, against the dialog's width, in
  // horizontal dialog units; zero without a caption.
  double captionNeedDu = 0.0;
  double captionHaveDu = 0.0;
  double captionReservedPx = 0.0;     // what the icon and the buttons take of the title bar
  std::vector<ControlLayout> controls;  // in the order of the dialog's controls

  double ToPxX(double du) const { return du * pxPerDuX; }
  double ToPxY(double du) const { return du * pxPerDuY; }
};

// Lays out the dialogs of one loaded script. The script's code pages decide how its texts are
// read. Not thread-safe: use one per thread (it caches faces and shaped texts).
class DialogLayouter {
 public:
  DialogLayouter(const FontMap& fonts, TextMeasurer& measurer);
  ~DialogLayouter();

  // The code pages the script's texts are read in. By default they come from the script's own
  // "#pragma code_page" lines (no code page before the first), read once per script: a layouter
  // tells scripts apart by their address and line count, so give one script at a time a map
  // of its own here when scripts are loaded and freed one after another. The map must outlive
  // the layouter.
  void SetCodePages(const CodePageMap* map) { codePages_ = map; }

  // Throws FontError when a font the dialog needs is not installed.
  DialogLayout Layout(const clsRC& rc, const clsDialog& dialog);

  // A text as the user sees it, measured at `pixelSize` in the font the table gives the face
  // for its characters: the '&' markers removed
  // (unless `prefix` is false), then on one line, or, with `wrapWidthPx` > 0, broken at word
  // boundaries (blanks, and between CJK characters) and at line feeds the way DrawText does.
  LaidOutText LayOutText(std::string_view utf8, const std::string& face, double pixelSize, bool prefix,
                         double wrapWidthPx);

 private:
  const CodePageMap& CodePagesOf(const clsRC& rc);

  const FontMap& fonts_;
  TextMeasurer& measurer_;
  const CodePageMap* codePages_ = nullptr;
  std::unique_ptr<CodePageMap> ownMap_;  // built for the script last laid out
  const clsRC* ownMapFor_ = nullptr;
  std::size_t ownMapLines_ = 0;
  std::unique_ptr<CodePageConverter> converter_;
};

// Decodes a text as written in the model (quotes included) into UTF-8; false when it cannot be
// read in the code page. Text without quotes is taken as it stands.
bool DecodeModelText(std::string_view written, int codePage, CodePageConverter& converter, std::string& utf8);

// The kind of a control from its statement keyword, window class and style flags.
ControlKind ClassifyControl(const clsControl& control);

// The low 16 bits of a control's style as far as its flag names tell them (the BS_ and SS_
// names, and the numbers the style reader turned into PS_ names).
std::uint32_t ControlStyleBits(const clsControl& control);

// The text without its '&' markers ("&&" gives one '&'), and the lower-cased character after
// the first single '&' (0 for none).
std::string StripMnemonic(std::string_view utf8, char32_t& mnemonic);

}  // namespace tamrel
