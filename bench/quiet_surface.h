// quiet_surface.h - a console surface that shows nothing, for the benchmarks
// that measure the connection without the console window.
#pragma once

#include "ConsoleLink.h"

#include <QString>

class QuietSurface final : public zephyra::ConsoleSurface {
public:
    void EnableCommand(zephyra::ConnectionCommand, bool) override {}
    void SetConnectionLamp(bool) override {}
    void SetControlPicture(bool) override {}
    void SetPowerPicture(bool) override {}
    void ShowLiveDisplay(bool) override {}
    void PaintDisplayDark() override {}
    void EndTransmitDisplay() override {}
    void StopBlinkTimers() override {}
    void SetStatusText(const QString&) override {}
    void SetZulLine(const QString&) override {}
    void SetOperationBusy(bool) override {}
    void LeaveOperatorMode(zephyra::OperatorMode) override {}
};
