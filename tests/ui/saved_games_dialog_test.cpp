// The saved-games dialog as the user drives it: the action button follows
// the name typed, the list fills the name box, and Enter deletes in the
// delete mode.
#include "dialogs/saved_games_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "model/game_state.h"
#include "storage/state_file.h"

using namespace tarvelis;

namespace {

std::filesystem::path PathOf(const QTemporaryDir& dir) {
  return std::filesystem::path(dir.path().toStdString());
}

}  // namespace

class CarguaTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    state_ = GameState();
    ApplyDefaults(state_);
    state_.RuleSound = kOff;
    QVERIFY(dir_.isValid());
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(dir_))) {
      std::filesystem::remove_all(entry.path());
    }
    QVERIFY(SaveStateFile(state_, PathOf(dir_) / "Partida.man"));
    QVERIFY(SaveStateFile(state_, PathOf(dir_) / "Otra.MAN"));
  }

  void actionButtonFollowsTheNameTyped_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("usable");
    const int load = int(SavedGamesMode::kLoad);
    const int save = int(SavedGamesMode::kSave);
    const int del = int(SavedGamesMode::kDelete);
    QTest::newRow("load, part of a name") << load << "Part" << false;
    QTest::newRow("load, a saved game") << load << "Partida" << true;
    QTest::newRow("delete, a saved game") << del << "  Partida" << true;
    QTest::newRow("save, a new name") << save << "Nueva" << true;
    QTest::newRow("save, out of the folder") << save << "../Nueva" << false;
  }

  void actionButtonFollowsTheNameTyped() {
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(bool, usable);
    Cargua dialog(state_, SavedGamesMode(mode), PathOf(dir_));
    dialog.show();
    QVERIFY(!dialog.ActionButton()->Usable());
    QTest::keyClicks(dialog.NameBox(), typed);
    QCOMPARE(dialog.ActionButton()->Usable(), usable);
    QCOMPARE(dialog.ActionButton()->cursor().shape() == Qt::ForbiddenCursor, !usable);
  }

  void aClickOnTheListFillsTheNameBox() {
    Cargua dialog(state_, SavedGamesMode::kLoad, PathOf(dir_));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.List()->count(), 2);
    QCOMPARE(dialog.List()->item(0)->text(), QStringLiteral("Otra"));
    QListWidget* list = dialog.List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(dialog.NameBox()->text(), QStringLiteral("Partida"));
    QVERIFY(dialog.ActionButton()->Usable());
  }

  void enterDeletesInTheDeleteModeAndRefillsTheList() {
    Cargua dialog(state_, SavedGamesMode::kDelete, PathOf(dir_));
    dialog.show();
    // A press on the button while it is out of use does nothing.
    QTest::keyClicks(dialog.NameBox(), "Nada");
    QTest::mouseClick(dialog.ActionButton(), Qt::LeftButton);
    QCOMPARE(dialog.List()->count(), 2);
    QVERIFY(dialog.isVisible());
    dialog.NameBox()->clear();
    QTest::keyClicks(dialog.NameBox(), "Otra");
    QTest::keyClick(dialog.NameBox(), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.List()->count(), 1);
    QCOMPARE(dialog.List()->item(0)->text(), QStringLiteral("Partida"));
    QVERIFY(dialog.NameBox()->text().isEmpty());
    QVERIFY(!std::filesystem::exists(PathOf(dir_) / "Otra.MAN"));
  }

 private:
  GameState state_;
  QTemporaryDir dir_;
};

QTEST_MAIN(CarguaTest)
#include "saved_games_dialog_test.moc"
