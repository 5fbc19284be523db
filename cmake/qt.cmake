# Finds Qt 6 for the widget, its Designer plugin, the QML module and the demos. VELMORA_QT=ON makes Qt 6 a
# requirement; left empty, the widget is built whenever Qt 6 is found.
if(VELMORA_QT)
  set(velmora_qt_required REQUIRED)
else()
  set(velmora_qt_required QUIET)
endif()
find_package(Qt6 6.4 ${velmora_qt_required} COMPONENTS Widgets Test UiPlugin UiTools Quick)
set(VELMORA_WITH_QT ${Qt6_FOUND})
if(VELMORA_WITH_QT)
  message(STATUS "Velmora: building the Qt widget with Qt ${Qt6_VERSION}")
else()
  message(STATUS "Velmora: Qt 6 not found, no Qt widget")
endif()
