#pragma once

#include "OperatorInteraction.h"
#include "WindowPlacement.h"
#include "base/SettingsStore.h"

#include <QCloseEvent>
#include <QString>
#include <QWidget>

// What every secondary window does alike: it lives for the whole run, the main window's buttons
// show and hide it, and every way of closing it (its Close button, the title bar, the main
// window's close at the end) stores its place, its visibility and its own values, then hides
// it. A store that cannot be written is reported, and the window still hides.
template <typename Interface> class SecondaryForm : public QWidget, public Interface {
public:
    bool IsShown() const override { return isVisible(); }
    void SetShown(bool shown) override { setVisible(shown && MayShow()); }
    void CloseWindow() override { FormClose(); }

    void FormClose() {
        try {
            WindowPlacement::Store(*this, settings_, windowNumber_);
            StoreOwnSettings();
        } catch (const SettingsStoreError& failure) {
            operator_.ReportError(QStringLiteral("The settings could not be stored: ") +
                                  QString::fromLocal8Bit(failure.what()));
        }
        hide();
    }

protected:
    // `windowNumber` ends the names of its place in section "Control" ("Left3", "Visible3").
    SecondaryForm(int windowNumber, SettingsStore& settings, OperatorInteraction& operatorAnswers,
                  QWidget* parent, Qt::WindowFlags flags = Qt::Window)
        : QWidget(parent, flags), windowNumber_(windowNumber), settings_(settings),
          operator_(operatorAnswers) {}

    // The window's own values, written beside its place at every close. May throw
    // SettingsStoreError.
    virtual void StoreOwnSettings() {}
    // Whether the window may be shown at all.
    virtual bool MayShow() const { return true; }

    void closeEvent(QCloseEvent* event) override {
        FormClose();
        event->accept();
    }

private:
    int windowNumber_;
    SettingsStore& settings_;
    OperatorInteraction& operator_;
};
