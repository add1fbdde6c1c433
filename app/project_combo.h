// A drop-down list that announces its opening, so the list can be filled first.
#pragma once

#include <QComboBox>

namespace wordloom {

class ProjectComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        emit DropDown();
        QComboBox::showPopup();
    }

signals:
    void DropDown();
};

} // namespace wordloom
