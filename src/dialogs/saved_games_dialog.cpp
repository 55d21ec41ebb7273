#include "dialogs/saved_games_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "dialogs/message_dialog.h"
#include "layout/artwork_layout.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {
namespace {

constexpr int kWidth = 440;
constexpr int kMargin = 16;
constexpr int kTitleH = 26;
constexpr int kButtonW = 96;
constexpr int kButtonH = 28;

QString ActionLabel(SavedGamesMode mode) {
  switch (mode) {
    case SavedGamesMode::kLoad:
      return QString::fromUtf8(kLoadLabel);
    case SavedGamesMode::kSave:
      return QString::fromUtf8(kSaveLabel);
    case SavedGamesMode::kDelete:
      break;
  }
  return QString::fromUtf8(kDeleteLabel);
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Layout pixels to window pixels at the table's factor.
int Scaled(int v, double factor) {
  return static_cast<int>(std::lround(v * factor));
}
QRect Scaled(const QRect& r, double factor) {
  const int left = Scaled(r.x(), factor);
  const int top = Scaled(r.y(), factor);
  return QRect(left, top, Scaled(r.x() + r.width(), factor) - left,
               Scaled(r.y() + r.height(), factor) - top);
}

}  // namespace

// ---------------------------------------------------------------------------

PictureButton::PictureButton(const QString& label, QWidget* parent)
    : QWidget(parent), label_(label), scale_(WindowScale()) {
  setFixedSize(Scaled(kButtonW, scale_), Scaled(kButtonH, scale_));
  SetUsable(true);
}

void PictureButton::SetUsable(bool usable) {
  usable_ = usable;
  setCursor(usable ? CursorOfKind(1) : QCursor(Qt::ForbiddenCursor));
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  // Drawn in its own pixels on a picture at the screen's, its label as text.
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  image.fill(Qt::transparent);
  DrawDialogButton(image, QRect(0, 0, kButtonW, kButtonH), label_, usable_);
  QPainter(this).drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && usable_ && onPress) onPress();
}

// ---------------------------------------------------------------------------

Cargua::Cargua(GameState& state, SavedGamesMode mode, const std::filesystem::path& folder,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state_(state), choice_(mode, folder) {
  setObjectName(QStringLiteral("cargua"));
  setWindowTitle(FromUtf8(SavedGamesTitle(mode)).trimmed());
  setModal(true);

  // Blown up with the table: laid out in its own pixels, its widgets placed
  // and their letters sized at the table's factor.
  scale_ = WindowScale();
  const double f = scale_;
  const QFont font = GameFont(Scaled(kTextPx, f), false);
  messageRect_ = QRect(kMargin, kTitleH + 10, kWidth - 2 * kMargin, 46);

  const QRect nameRect(kMargin, messageRect_.bottom() + 10, kWidth - 2 * kMargin, 24);
  const QRect listRect(kMargin, nameRect.bottom() + 8, kWidth - 2 * kMargin, 170);
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("Tex_CarGua"));
  name_->setFont(font);
  name_->setGeometry(Scaled(nameRect, f));
  connect(name_, &QLineEdit::textChanged, this, [this](const QString& t) { NameChanged(t); });

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("Lis_CarGua"));
  list_->setFont(font);
  list_->setGeometry(Scaled(listRect, f));
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { name_->setText(item->text()); });
  connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item != nullptr && !filling_) name_->setText(item->text());
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    name_->setText(item->text());
    if (choice_.Mode() == SavedGamesMode::kLoad) {
      LoadAction();
    } else if (choice_.Mode() == SavedGamesMode::kSave && !choice_.OverwritePending()) {
      SaveAction();
    }
  });

  const int buttonsTop = listRect.bottom() + 1 + kMargin;
  action_ = new PictureButton(ActionLabel(mode), this);
  action_->setObjectName(mode == SavedGamesMode::kLoad   ? QStringLiteral("Pic_Cargar")
                         : mode == SavedGamesMode::kSave ? QStringLiteral("Pic_Guardar")
                                                         : QStringLiteral("Pic_Borrar"));
  action_->move(Scaled(kWidth / 2 - kButtonW - 12, f), Scaled(buttonsTop, f));
  action_->onPress = [this] { Enter(); };
  exit_ = new PictureButton(QString::fromUtf8(kExitLabel), this);
  exit_->setObjectName(QStringLiteral("Pic_BotSalir"));
  exit_->move(Scaled(kWidth / 2 + 12, f), Scaled(buttonsTop, f));
  exit_->onPress = [this] { Exit(); };
  height_ = buttonsTop + kButtonH + kMargin;
  setFixedSize(Scaled(kWidth, f), Scaled(height_, f));

  RellenaLista();
  NameChanged(QString());
  name_->setFocus();
}

void Cargua::RellenaLista() {
  filling_ = true;
  list_->clear();
  for (const std::string& name : choice_.RellenaLista()) list_->addItem(FromUtf8(name));
  list_->setCurrentRow(-1);
  filling_ = false;
}

void Cargua::NameChanged(const QString& text) {
  choice_.Type(text.toStdString());
  action_->SetUsable(choice_.ActionEnabled());
  update(Scaled(messageRect_, scale_));
}

void Cargua::paintEvent(QPaintEvent*) {
  // Drawn in the dialog's own pixels, scaled as it is drawn: the text is
  // laid out as text at its final size.
  QPainter p(this);
  p.scale(scale_, scale_);
  DrawDialogPanel(p, QSize(kWidth, height_), QRect(0, 0, kWidth, kTitleH));
  p.setFont(GameFont(kTextPx, true));
  p.setPen(Qt::white);
  p.drawText(QRect(8, 0, kWidth - 16, kTitleH), Qt::AlignVCenter | Qt::AlignLeft,
             FromUtf8(SavedGamesTitle(choice_.Mode())));
  // Tex_Mensaje: the runs of spaces that once set where its words fell in
  // another font would only leave gaps here; the line wraps by itself.
  p.setFont(GameFont(kTextPx, false));
  p.setPen(Qt::black);
  p.drawText(messageRect_, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter,
             FromUtf8(choice_.Message()).simplified());
}

void Cargua::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Enter();
      return;
    case Qt::Key_Escape:
      Exit();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void Cargua::Enter() {
  switch (choice_.Mode()) {
    case SavedGamesMode::kLoad:
      LoadAction();
      break;
    case SavedGamesMode::kSave:
      SaveAction();
      break;
    case SavedGamesMode::kDelete:
      DeleteAction();
      break;
  }
}

void Cargua::Fail() {
  ShowMessage(state_, windowTitle(), FromUtf8(choice_.Error()), kPictureError, kNotice, this);
}

void Cargua::LoadAction() {
  TocaSonido(state_, Sound::kButton);
  const SavedGameOutcome outcome = choice_.CargaMano(state_);
  if (outcome == SavedGameOutcome::kDone) {
    accept();
  } else if (outcome == SavedGameOutcome::kFailed) {
    Fail();
  }
}

void Cargua::SaveAction() {
  TocaSonido(state_, Sound::kButton);
  const SavedGameOutcome outcome = choice_.GuardaMano(state_);
  if (outcome == SavedGameOutcome::kDone) {
    accept();
  } else if (outcome == SavedGameOutcome::kConfirmFirst) {
    update(Scaled(messageRect_, scale_));
  } else if (outcome == SavedGameOutcome::kFailed) {
    Fail();
  }
}

void Cargua::DeleteAction() {
  TocaSonido(state_, Sound::kButton);
  const SavedGameOutcome outcome = choice_.Borra();
  if (outcome == SavedGameOutcome::kDone) {
    RellenaLista();
    name_->clear();
  } else if (outcome == SavedGameOutcome::kConfirmFirst) {
    update(Scaled(messageRect_, scale_));
  } else if (outcome == SavedGameOutcome::kFailed) {
    Fail();
  }
}

void Cargua::Exit() {
  TocaSonido(state_, Sound::kClose);
  reject();
}

bool OpenSavedGames(GameState& state, SavedGamesMode mode, const std::filesystem::path& folder,
                    QWidget* parent) {
  if (!parent) parent = QApplication::activeWindow();
  Cargua dialog(state, mode, folder, parent);
  return ExecCentred(dialog, parent, dialog.NameBox()) == QDialog::Accepted &&
         mode == SavedGamesMode::kLoad;
}

}  // namespace tarvelis
