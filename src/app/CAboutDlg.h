#pragma once

#include <QDialog>

namespace velmora::app {

// The About box: the icon, the version line and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace velmora::app
