// The Designer plugin as a form loader meets it: found by path, creating the board from a .ui
// file with the properties the file sets, and showing the toolbox picture.
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPluginLoader>
#include <QTest>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

#include "velmora/board_widget.h"

namespace velmora::testing {

class DesignerPluginTest : public QObject {
  Q_OBJECT

 private:
  // A loader that sees only the plugin just built.
  static std::unique_ptr<QUiLoader> Loader() {
    auto loader = std::make_unique<QUiLoader>();
    loader->clearPluginPaths();
    loader->addPluginPath(QStringLiteral(VELMORA_DESIGNER_DIR));
    return loader;
  }

  static std::unique_ptr<QWidget> Load(QUiLoader& loader, const QByteArray& ui) {
    QBuffer buffer;
    buffer.setData(ui);
    buffer.open(QIODevice::ReadOnly);
    return std::unique_ptr<QWidget>(loader.load(&buffer));
  }

  // A form holding only the board, with one property set to a value of a type Designer writes
  // ("string", "bool", "number").
  static QByteArray FormWith(const QString& property, const QString& value,
                             const QString& type = QStringLiteral("string")) {
    return QStringLiteral(
               "<ui version=\"4.0\"><class>F</class><widget class=\"QWidget\" name=\"F\">"
               "<widget class=\"velmora::BoardWidget\" name=\"board\">"
               "<property name=\"%1\"><%3>%2</%3></property></widget></widget></ui>")
        .arg(property, value, type)
        .toUtf8();
  }

 private slots:
  void theFormFileCreatesTheBoardWithItsProperty() {
    const auto loader = Loader();
    QVERIFY(loader->availableWidgets().contains("velmora::BoardWidget"));
    QFile file(QStringLiteral(VELMORA_FORM_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> form(loader->load(&file));
    QVERIFY2(form != nullptr, qPrintable(loader->errorString()));
    auto* board = form->findChild<BoardWidget*>("board");
    QVERIFY(board != nullptr);
    // The pushed move is applied as the loader sets it, and copied into getMove.
    QCOMPARE(board->getMove(), QString("E2-E4"));
    QCOMPARE(board->putMove(), QString("E2-E4"));
  }

  void savedPropertiesLoadAsTheControlsBag_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("getMove");
    QTest::addColumn<QString>("putPosition");
    QTest::newRow("a saved move display") << "getMove"
                                          << "G1"
                                          << "G1"
                                          << "";
    QTest::newRow("a pushed move") << "putMove"
                                   << "G1-F3"
                                   << "G1-F3"
                                   << "";
    QTest::newRow("a valid position is taken and emptied")
        << "putPosition" << QString(64, '*') << ""
        << "";
    QTest::newRow("a text that is no move stays") << "putMove"
                                                  << "E2"
                                                  << ""
                                                  << "";
  }

  void savedPropertiesLoadAsTheControlsBag() {
    QFETCH(QString, property);
    QFETCH(QString, value);
    QFETCH(QString, getMove);
    QFETCH(QString, putPosition);
    const auto loader = Loader();
    const std::unique_ptr<QWidget> form = Load(*loader, FormWith(property, value));
    QVERIFY(form != nullptr);
    auto* board = form->findChild<BoardWidget*>("board");
    QVERIFY(board != nullptr);
    QCOMPARE(board->getMove(), getMove);
    QCOMPARE(board->putPosition(), putPosition);
  }

  void theBoardsLaterMembersLoadFromTheForm_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("read");
    QTest::newRow("dragEnabled") << "dragEnabled"
                                 << "bool"
                                 << "false" << QVariant(false);
    QTest::newRow("animationTime") << "animationTime"
                                   << "number"
                                   << "0" << QVariant(0);
    QTest::newRow("editMode") << "editMode"
                              << "bool"
                              << "true" << QVariant(true);
    QTest::newRow("fen") << "fen"
                         << "string"
                         << "4k3/8/8/8/8/8/8/4K3" << QVariant("4k3/8/8/8/8/8/8/4K3");
  }

  void theBoardsLaterMembersLoadFromTheForm() {
    QFETCH(QString, property);
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QVariant, read);
    const auto loader = Loader();
    const std::unique_ptr<QWidget> form = Load(*loader, FormWith(property, value, type));
    QVERIFY(form != nullptr);
    auto* board = form->findChild<BoardWidget*>("board");
    QVERIFY(board != nullptr);
    QCOMPARE(board->property(property.toLatin1().constData()), read);
  }

  void theWidgetBoxShowsTheToolboxPicture() {
    QPluginLoader plugin(QStringLiteral(VELMORA_DESIGNER_FILE));
    auto* widgets = qobject_cast<QDesignerCustomWidgetInterface*>(plugin.instance());
    QVERIFY2(widgets != nullptr, qPrintable(plugin.errorString()));
    QCOMPARE(widgets->name(), QString("velmora::BoardWidget"));
    QCOMPARE(widgets->includeFile(), QString("velmora/board_widget.h"));
    QVERIFY(widgets->domXml().contains("class=\"velmora::BoardWidget\""));
    QVERIFY(!widgets->isContainer());
    const QImage icon = widgets->icon().pixmap(QSize(16, 15)).toImage();
    QCOMPARE(icon.size(), QSize(16, 15));
    QCOMPARE(icon, BoardWidget::toolboxImage());
    std::unique_ptr<QWidget> made(widgets->createWidget(nullptr));
    QVERIFY(qobject_cast<BoardWidget*>(made.get()) != nullptr);
  }
};

}  // namespace velmora::testing

QTEST_MAIN(velmora::testing::DesignerPluginTest)
#include "designer_plugin_test.moc"
