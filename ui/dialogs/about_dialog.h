// The about box: the program icon, name and version, and the publisher's two lines.
#pragma once

#include <QDialog>

namespace kantoria {

class CAboutDlg final : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent);
};

}  // namespace kantoria
