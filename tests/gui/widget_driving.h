#pragma once

// Driving the sheets' widgets as a user would: found by object name, typed into, clicked and
// left, on the offscreen platform.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "desktop/qt_text.h"
#include "support/sjis.h"

namespace velnora::test {

// The widget of the given type and object name below root; fails the test when there is none.
template <typename T>
T* Find(const QWidget* root, std::string_view name) {
    T* widget = root->findChild<T*>(QString::fromLatin1(name.data(), name.size()));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

// A UTF-8 literal as widget text.
inline QString Q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Types text into a widget key by key; a character outside ASCII arrives as the text of a key
// that has no key code, as an input method delivers it.
inline void TypeKeys(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QString character(c);
        if (c.isHighSurrogate() && i + 1 < text.size()) {
            character += text[++i];
        }
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

// Shows a sheet and makes it the active window, so that focus moves as it does for a user.
inline void ShowActive(QDialog& sheet) {
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
}

// Brings the tab that holds the widget to the front.
inline void Reveal(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(
                w->parentWidget() != nullptr ? w->parentWidget()->parentWidget() : nullptr)) {
            int index = tabs->indexOf(w);
            if (index >= 0) {
                tabs->setCurrentIndex(index);
            }
        }
    }
}

// Replaces the text of a field by typing (UTF-8).
inline void TypeInto(QLineEdit* field, std::string_view utf8) {
    Reveal(field);
    field->setFocus();
    field->selectAll();
    TypeKeys(field, Q(utf8));
}

inline void TypeInto(QAbstractSpinBox* field, std::string_view utf8) {
    Reveal(field);
    field->setFocus();
    field->selectAll();
    TypeKeys(field, Q(utf8));
}

inline void TypeInto(QPlainTextEdit* box, std::string_view utf8) {
    Reveal(box);
    box->setFocus();
    box->selectAll();
    for (QChar c : Q(utf8)) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            TypeKeys(box, QString(c));
        }
    }
}

// Moves the focus to another widget, so that the focused field is left.
inline void FocusOn(QWidget* widget) {
    Reveal(widget);
    widget->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Clicks a check box on its indicator, or a button in its middle.
inline void Click(QAbstractButton* button) {
    Reveal(button);
    QPoint where = qobject_cast<QCheckBox*>(button) != nullptr ? QPoint(6, button->height() / 2)
                                                               : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::KeyboardModifiers(), where);
}

// Chooses the entry below the current one of a drop-down list, with the keyboard.
inline void SelectNext(QComboBox* list) {
    Reveal(list);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
}

inline std::string FieldText(const QLineEdit* field) {
    return desktop::ToSjis(field->text());
}

inline std::string FieldText(const QAbstractSpinBox* field) {
    return desktop::ToSjis(field->text());
}

// The OK or Cancel button of a sheet, clicked.
// Acts on the next modal dialog once it shows (from inside its event loop).
inline void WhenDialogShows(std::function<void(QDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start();
}

inline void PressOk(QDialog& sheet) {
    Click(Find<QAbstractButton>(&sheet, "okButton"));
}

inline void PressCancel(QDialog& sheet) {
    Click(Find<QAbstractButton>(&sheet, "cancelButton"));
}

// The titles of a sheet's pages, in order, as UTF-8.
inline std::vector<std::string> PageTitles(const QDialog& sheet) {
    std::vector<std::string> titles;
    auto* tabs = Find<QTabWidget>(&sheet, "pages");
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        titles.push_back(tabs->tabText(i).toStdString());
    }
    return titles;
}

// Every label, check box and button of every page is at least as large as its text needs, so
// that nothing is cut at the default font.
inline void ExpectNothingClipped(QDialog& sheet) {
    auto* tabs = Find<QTabWidget>(&sheet, "pages");
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        for (QWidget* widget : tabs->widget(i)->findChildren<QWidget*>()) {
            if (!widget->isVisible() ||
                !(widget->inherits("QLabel") || widget->inherits("QAbstractButton"))) {
                continue;
            }
            if (widget->property("wordWrap").toBool()) {
                continue;
            }
            QSize needed = widget->sizeHint();
            EXPECT_GE(widget->width(), needed.width())
                << tabs->tabText(i).toStdString() << ": " << widget->objectName().toStdString()
                << " " << widget->property("text").toString().toStdString();
            EXPECT_GE(widget->height(), needed.height())
                << tabs->tabText(i).toStdString() << ": " << widget->objectName().toStdString();
        }
    }
}

}  // namespace velnora::test
