// How every window of the desktop program behaves, and the few calls a window
// makes for what differs from one window to another.
//
// Installed once on the application (InstallWindowBehaviour, in main), these
// rules hold for every window without code of its own:
//   - Enter (or the keypad's Enter) on a focused push button clicks it, and a
//     button pressed by its Alt letter takes the focus;
//   - the keyboard focus frame shows from the moment a window opens, not only
//     after the first Tab, and plainly (ui/focus_style.h): a ring on the
//     focused button and on the current cell of the focused grid;
//   - an edit box that receives the focus other than by a mouse click selects
//     its text, so that typing replaces the "0" it shows;
//   - an Alt letter that no control answers types nothing into an edit box;
//   - when a modal window closes, the window that opened it is activated and
//     the focus goes back to the control that had it (or, when that control
//     is gone, hidden or disabled, to the window's first control that can
//     take it);
//   - a window opens in the middle of its screen unless it was placed or
//     maximised, and a dialog is at least wide enough to show its whole
//     caption;
//   - a key of a window that a modal window covers is the key of the window
//     in hand: a new window waits a moment for the keyboard, and while it
//     waits the control below still matches its keys (Enter in the leave
//     window would open the employee window of the grid below); the key goes
//     to the focused control of the window in hand instead;
//   - F1 opens the help at the section of the window in hand (see
//     HelpTopicOf) and F6 the calculator, through GlobalKeys.
// Captions are shown exactly as set: the application sets no display name, so
// the window system appends nothing to them.
//
// How a new window uses this:
//   1. Give it the object name of its form ("FSal", "FImpo"): the help page
//      data/help/index.html has a section with that id (add one) and F1 opens
//      it. SetHelpTopic overrides the name when two forms share a section.
//   2. Set the caption and the button texts exactly as given ("&Confirmare").
//      Escape closes a QDialog by itself (reject); the main window's panels
//      handle it themselves.
//   3. Create the controls in visual order, or call SetTabOrder with them in
//      the order they are read; EnterMovesTo where Enter in a list, choice or
//      radio button moves on to the next control.
//   4. SizeToChars on every edit box of a stored field, with the field's
//      width; OpenMaximised for the windows that open maximised.
//   5. A button whose function is not available yet: DisableWithHint, and the
//      same on every button that depends on it.
//   6. Grids: see ui/data_grid.h (captions per grid, number cells, widths).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>

class QAbstractButton;
class QKeySequence;
class QApplication;
class QLineEdit;
class QWidget;

namespace traveno::ui {

// The application-wide rules above. One object per application; it removes
// itself from the application when destroyed, so a test can scope it.
class WindowBehaviour : public QObject {
  Q_OBJECT

 public:
  explicit WindowBehaviour(QObject* parent = nullptr);
  ~WindowBehaviour() override;

  void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WindowShown(QWidget* window);
  void WindowHidden(QWidget* window);
  // Types the key of a shortcut into the focused control of the window in
  // hand.
  void SendKeyToWindowInHand(const QKeySequence& sequence);

  // The control that had the focus when each open modal window was shown.
  std::map<QWidget*, QPointer<QWidget>> openers_;
  // The control a key is being handed to.
  QPointer<QWidget> key_target_;
  bool installed_ = false;
};

// Names the application without a display name (so captions stay exactly as
// set), loads the Romanian texts of Qt's own dialogs and buttons, and installs
// the window behaviour, owned by the application.
void InstallWindowBehaviour(QApplication& application);

// The help section of a window: the topic set by SetHelpTopic on it or the
// nearest window above it that has one, else the object name of the nearest
// named window (message boxes and other unnamed windows give their parent's).
void SetHelpTopic(QWidget* window, const QString& topic);
QString HelpTopicOf(const QWidget* widget);
// The help topic of the window in hand: the active modal window, else the
// active window; empty when there is none.
QString CurrentHelpTopic();

// Tab moves through `widgets` in the order given.
void SetTabOrder(std::initializer_list<QWidget*> widgets);
// Moves `widgets`, in the order given, to the end of their window's tab order
// (for controls made before the ones they follow on the screen, such as the
// buttons at the bottom of a window).
void PutLastInTabOrder(std::initializer_list<QWidget*> widgets);

// Enter (Return or the keypad's Enter) in `from` moves the focus to `to`, or to
// the next control in the tab order when `to` is null.
void EnterMovesTo(QWidget* from, QWidget* to = nullptr);

// Makes an edit box wide enough for `chars` characters of its font (the width
// of the stored field), and no wider.
void SizeToChars(QLineEdit* box, int chars);

// The window opens maximised.
void OpenMaximised(QWidget* window);

// A window a part of which was hidden takes back the room the part left: its
// height becomes the height its controls ask for, its width stays (nothing
// for a window not shown, maximised or full screen).
void FitHeightToContents(QWidget* window);

// The width a window needs for its caption to be read whole: the text in the
// title bar's bold font and room for the title bar's buttons.
int CaptionWidth(const QWidget& window);

// A button whose function is not available: disabled, and its hint (status
// tip and tool tip) says why.
void DisableWithHint(QAbstractButton* button, const QString& hint);

// The keys of a record list's pop-up menu, on its grid: Ins adds, Enter (or
// the keypad's Enter) modifies, Del deletes. The calls stop with `receiver`.
void BindRecordKeys(QWidget* grid, QObject* receiver, const std::function<void()>& add,
                    const std::function<void()>& modify, const std::function<void()>& remove);

// Whether a modal window other than the window of `widget` (or one the
// window belongs to) is open above it: its keys are not its own.
bool CoveredByModalWindow(const QWidget* widget);

// The first control of `window` in the tab order that can take the focus now
// (enabled and visible), or null.
QWidget* FirstFocusable(QWidget* window);

}  // namespace traveno::ui
