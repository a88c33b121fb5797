# Platform services that draw with QtGui (kantoria_gui).
target_sources(kantoria_gui PRIVATE platform/qt_icon_factory.cpp)
