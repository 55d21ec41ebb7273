#include "dialogs/settings_window.h"

#include <sys/stat.h>

#include <QLineEdit>
#include <QtTest>

#include "../support/temp_folder.h"
#include "model/game_state.h"

using namespace tarvelis;

class PersonalTest : public QObject {
  Q_OBJECT

  GameState state_;
  std::vector<std::string> asked_;
  int backgrounds_ = 0;
  BackgroundLayout laid_ = BackgroundLayout::None;

  std::unique_ptr<Personal> Open(const std::filesystem::path& folder = ".") {
    SettingsHooks hooks;
    hooks.BackgroundChosen = [this](const QImage&, BackgroundLayout layout) {
      ++backgrounds_;
      laid_ = layout;
    };
    auto window = std::make_unique<Personal>(state_, std::move(hooks), folder);
    window->ShowOptionMessage = [this](const OptionMessage& m) {
      asked_.push_back(m.Title);
      return true;
    };
    window->show();
    return window;
  }

  static void Press(QWidget* w, QPoint at) { QTest::mousePress(w, Qt::LeftButton, {}, at); }
  static void Release(QWidget* w, QPoint at) { QTest::mouseRelease(w, Qt::LeftButton, {}, at); }
  static void DragTo(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &move);
  }

 private slots:
  void init() {
    state_ = GameState();
    ApplyDefaults(state_);
    state_.RuleSound = kOff;
    state_.GameSpeed = 100;  // no waits in the animations
    asked_.clear();
    backgrounds_ = 0;
    laid_ = BackgroundLayout::None;
  }

  // Selectors answer on their own page only, and ask their questions through
  // the window.
  void selectorsAnswerOnTheirPageAndAskThroughTheWindow() {
    auto w = Open();
    Press(w.get(), w->SelectorButtonRect(kSelTilesShown + 4).center());
    QCOMPARE(asked_, std::vector<std::string>{"Selecciones incompatibles"});
    QCOMPARE(state_.SeatControl[4], i16{kAutomatic});
    Press(w.get(), w->SelectorButtonRect(kSelMode).center());
    QCOMPARE(state_.RuleMode, i16{kModePairs});
    Press(w.get(), w->RulesButtonRect().center());
    QVERIFY(w->RulesShown());
    QVERIFY(!w->NameField(1)->isVisible());
    Press(w.get(), w->SelectorButtonRect(kSelMode).center());
    QCOMPARE(state_.RuleMode, i16{kModeIndividual});
    QCOMPARE(QString::fromStdString(TrimmedLabel(LabelOf(w->Labels(), kSelNextLead, 3))),
             QStringLiteral("Jugador ganador"));
    Press(w.get(), w->ExitButtonRect().center());
    QVERIFY(!w->RulesShown());
    QVERIFY2(w->isVisible(), "the rules page's exit only goes back");
  }

  void aThumbDraggedPastEitherEndStopsThere() {
    struct Drag {
      int slider, from, dx, expected;
    };
    for (Drag d : {Drag{1, 50, 300, 100}, Drag{1, 50, -300, 0}, Drag{0, 97, 10, 100},
                   Drag{0, 3, -10, 0}, Drag{4, 20, 15, 35}}) {
      i16& value = d.slider == 0 ? state_.GameSpeed : state_.SeatLevel[d.slider];
      value = static_cast<i16>(d.from);
      auto w = Open();
      const QPoint grab = w->SliderThumb(d.slider) + QPoint(5, 8);
      Press(w.get(), grab);
      DragTo(w.get(), grab + QPoint(d.dx / 2, 0));
      DragTo(w.get(), grab + QPoint(d.dx, 0));
      Release(w.get(), grab + QPoint(d.dx, 0));
      QCOMPARE(int(value), d.expected);
      // The thumb came along with the value.
      const QPoint after = w->SliderThumb(d.slider);
      QCOMPARE(after.x() - (grab.x() - 5), d.expected - d.from);
      if (d.slider == 0) state_.GameSpeed = 100;
    }
  }

  void theDownArrowHeldAtOneStaysAtOne() {
    state_.MatchTarget = 1;
    auto w = Open();
    const QPoint down = w->ArrowRect(false).center();
    Press(w.get(), down);
    QTest::qWait(200);  // several repeats
    Release(w.get(), down);
    QCOMPARE(state_.MatchTarget, i16{1});

    Press(w.get(), w->ArrowRect(true).center());
    Release(w.get(), w->ArrowRect(true).center());
    QCOMPARE(state_.MatchTarget, i16{2});
    // Beside the arrow's point is panel grey: no press there.
    Press(w.get(), w->ArrowRect(true).topLeft());
    QCOMPARE(state_.MatchTarget, i16{2});
  }

  // A held down arrow runs freely down to the total a side has reached, then
  // stops and asks once; refused, the target stays one above that total.
  void aHeldDownArrowAsksOnceAtTheReachedTotal() {
    state_.MatchInProgress = true;
    state_.HandNumber = 3;
    state_.PairTotal = {0, 3, 1};
    state_.MatchTarget = 6;
    auto w = Open();
    w->ShowOptionMessage = [this](const OptionMessage& m) {
      asked_.push_back(m.Title);
      return false;
    };
    const QPoint down = w->ArrowRect(false).center();
    Press(w.get(), down);
    QTRY_COMPARE_WITH_TIMEOUT(asked_.size(), std::size_t{1}, 5000);
    QTest::qWait(150);  // a repeat would ask again
    Release(w.get(), down);
    QCOMPARE(asked_, std::vector<std::string>{"Selector 'Puntos de la partida'"});
    QCOMPARE(state_.MatchTarget, i16{4});
    QVERIFY(state_.MatchInProgress);
  }

  // Totals stop at 999: the window never shows or keeps a target beyond them.
  void aTargetBeyondTheTotalsIsBroughtDown() {
    state_.MatchTarget = 1500;
    auto w = Open();
    QCOMPARE(state_.MatchTarget, i16{999});
  }

  void theHiddenFieldLoadsOnlyItsOwnPrefixes() {
    testing::TempFolder folder;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(QString::fromStdString((folder.path() / "qvxn4rojo.png").string())));
    // A FIFO named like a picture would block a plain open until a writer came.
    QCOMPARE(::mkfifo((folder.path() / "qvxn1tubo.png").c_str(), 0600), 0);
    auto w = Open(folder.path());
    QTest::keyClick(w.get(), Qt::Key_G);
    QVERIFY2(!w->GraphicField()->isVisible(), "only on the rules page");
    Press(w.get(), w->RulesButtonRect().center());
    QTest::keyClick(w.get(), Qt::Key_G);
    QLineEdit* field = w->GraphicField();
    QVERIFY(field->isVisible());

    struct Try {
      const char* text;
      int backgrounds;
    };
    // Which names ask for a picture is the name rules' test; here, what the
    // window does with a file that is missing, named in other capitals, a
    // FIFO, or there.
    for (Try t : {Try{"qvxn1falta.png", 0}, Try{"QVXN4rojo.png", 0}, Try{"qvxn1tubo.png", 0},
                  Try{"qvxn4rojo.png", 1}}) {
      field->setText(QString::fromLatin1(t.text));
      QTest::keyClick(field, Qt::Key_Return);
      QCOMPARE(backgrounds_, t.backgrounds);
      // A picture asked for that cannot be read says so in the field.
      if (QString::fromLatin1(t.text) == QStringLiteral("qvxn1falta.png")) {
        QVERIFY(field->text().contains(QStringLiteral("No se puede leer")));
      }
    }
    QCOMPARE(laid_, BackgroundLayout::FourTimes);
    QVERIFY(!field->isVisible());
  }

  void namesFollowTheirRulesAndAnEmptyOneGetsItsDefault() {
    auto w = Open();
    QLineEdit* field = w->NameField(2);
    field->clear();
    QTest::keyClicks(field, QStringLiteral(" ana MARÍA"));
    QCOMPARE(field->text(), QStringLiteral("Ana María"));
    QCOMPARE(QString::fromStdString(state_.SeatName[2]), QStringLiteral("Ana María"));
    QTest::keyClicks(field, QStringLiteral(" de los santos gil"));
    QCOMPARE(field->text().size(), 20);

    w->NameField(3)->selectAll();
    QTest::keyClick(w->NameField(3), Qt::Key_Delete);
    QCOMPARE(state_.SeatName[3], std::string());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(state_.SeatName[3], std::string("Jugador3"));
  }

  // Each seat's expert tick and the tutor's turn their own choice on and off,
  // on the players page only, and sit clear of every other control.
  void theExpertTicksToggleTheirOwnChoiceOnly() {
    auto w = Open();
    std::vector<QRect> others = {w->RulesButtonRect(), w->ExitButtonRect(), w->ArrowRect(true),
                                 w->ArrowRect(false)};
    for (int index : {kSelDirection, kSelPause, kSelPlayedTiles, kSelMoveList, kSelSound}) {
      others.push_back(w->SelectorButtonRect(index));
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
      others.push_back(w->SelectorButtonRect(kSelTilesShown + seat));
      others.push_back(w->SelectorButtonRect(kSelControl + seat));
    }
    for (int seat = 0; seat <= kSeats; ++seat) {
      const QRect tick = w->ExpertTickRect(seat);
      QVERIFY(QRect(0, 0, Personal::kWidth, Personal::kHeight).contains(tick));
      for (const QRect& r : others) QVERIFY(!r.intersects(tick));
      others.push_back(tick);
    }
    Press(w.get(), w->ExpertTickRect(2).center());
    Press(w.get(), w->ExpertTickRect(0).center());
    QCOMPARE(state_.SeatExpert, (PerSeat<bool>{false, false, true, false, false}));
    QVERIFY(state_.TutorExpert);
    Press(w.get(), w->RulesButtonRect().center());
    Press(w.get(), w->ExpertTickRect(0).center());
    QVERIFY(state_.TutorExpert);
  }
};

QTEST_MAIN(PersonalTest)
#include "settings_window_test.moc"
