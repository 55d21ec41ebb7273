// mensajes: the program's own message box. Every notice and every yes-or-no
// question goes through it.
#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "layout/artwork_layout.h"
#include "model/table_port.h"

namespace tarvelis {

struct GameState;

enum ButtonSet { kNotice = 1, kQuestion = 2 };

class Mensajes : public QDialog {
 public:
  Mensajes(GameState& state, const QString& title, const QString& text, int picture, int buttons,
           QWidget* parent = nullptr);

  // The on-screen rectangles of the buttons, for the tests.
  QRect SalirRect() const { return salir_; }
  QRect SiRect() const { return si_; }
  QRect NoRect() const { return no_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Layout();
  void Answer(bool yes);

  GameState& state_;
  QString title_;
  QString text_;
  int picture_;
  int buttons_;
  QRect pictureRect_, titleRect_, textRect_, salir_, si_, no_;
  double scale_ = 1.0;  // window pixels per dialog pixel
  int height_ = 0;      // in dialog pixels
};

// The game dialogs' colours: the panel, which the ready-made message pictures
// share, and the frame, also drawn inside some of them.
inline const QColor kDialogPanel(QRgb(0xFF000000 | art::kMessageBackgroundRgb));
inline const QColor kDialogFrame(0x1F, 0x4D, 0x2E);

// The game dialogs' ground: the panel, a title bar (none when `titleBar` is empty) and a two-pixel
// frame round an area of `size`.
void DrawDialogPanel(QPainter& p, const QSize& size, const QRect& titleBar = QRect());

// The game dialogs' button: a green rounded picture with its label centred in
// white bold, grey when it cannot be pressed now; the message dialog, the score
// report, the history and the saved games share it.
void DrawDialogButton(QImage& image, const QRect& rect, const QString& label, bool usable = true);

// Runs `dialog` modally, centred on `over` (or, before there is a table, on
// the screen), with the keyboard on `focus` (the dialog itself when null)
// at once, even over a full-screen table on a desktop without a window
// manager to hand it over. Returns exec()'s result.
int ExecCentred(QDialog& dialog, QWidget* over, QWidget* focus = nullptr);

// Shows a message modally over `parent` (or the active window) and returns when
// it closes. For a question, returns the answer (closing it otherwise is a
// no); a notice returns true. A message still open is closed first.
bool ShowMessage(GameState& state, const QString& title, const QString& text, int picture,
                 int buttons, QWidget* parent = nullptr);

}  // namespace tarvelis
