// The about box: the program icon, name and version, and the publisher's two lines.
#pragma once

#include <QDialog>

namespace kantoria {

class AboutDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent);
};

}  // namespace kantoria
