#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

/// The look the program's forms share: navy background, "MS Sans Serif" 8 pt.
inline void applyFormStyle(QWidget* form) {
    form->setAutoFillBackground(true);
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    form->setPalette(pal);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    form->setFont(font);
}
