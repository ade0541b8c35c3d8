#pragma once
// What the main window offers the view and the dialogs: where the emulator lives, its help
// text, the output bar and the profile. The view and the dialogs only see this, so tests can
// hand them a window of their own.

#include <string>

class QWidget;

namespace velmora::ui {

class CProfile;

class CFrameServices {
public:
    virtual ~CFrameServices() = default;

    virtual const std::string& EmulatorDirectory() const = 0;
    virtual const std::string& EmulatorPath() const = 0;
    virtual const std::string& HelpText() const = 0;
    virtual void SetHelpText(const std::string& text) = 0;
    virtual int ShowOutputFlag() const = 0;

    // Replaces the output bar's whole text and paints it before returning, so the text is
    // readable while the caller keeps the program busy.
    virtual void SetOutputText(const std::string& text) = 0;

    virtual CProfile& Profile() = 0;
    virtual QWidget* FrameWindow() = 0;
};

}  // namespace velmora::ui
