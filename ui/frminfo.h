#pragma once

#include <QDialog>

namespace marlovin {

// The About window: product name, version, licence and credits. Built afresh for every opening.
class frmInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmInfo(QWidget* owner = nullptr);
};

}  // namespace marlovin
