#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace velmora {

// Puts the board in Qt Designer's widget box, with the library's toolbox picture.
class BoardWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit BoardWidgetPlugin(QObject* parent = nullptr) : QObject(parent) {}

  QString name() const override { return QStringLiteral("velmora::BoardWidget"); }
  QString group() const override { return QStringLiteral("Velmora"); }
  QString toolTip() const override { return QStringLiteral("Chess board"); }
  QString whatsThis() const override;
  QString includeFile() const override { return QStringLiteral("velmora/board_widget.h"); }
  QIcon icon() const override;
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
};

}  // namespace velmora
