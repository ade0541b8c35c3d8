#pragma once
// What every window test starts from: a throw-away emulator directory with the stand-in in
// it, a profile and a plugin settings store of the test's own, and the main window, opened on
// them when first asked for. The emulator's runs are read without pauses.

#include <gtest/gtest.h>

#include <QSettings>
#include <memory>

#include "CMainFrame.h"
#include "CVelmoraDoc.h"
#include "CVelmoraView.h"
#include "Contract.h"
#include "EmulatorDir.h"
#include "GameSnapshots.h"
#include "MainWindow.h"
#include "ProcessRunner.h"
#include "Profile.h"

namespace velmora::app {

class WindowTest : public ::testing::Test {
protected:
    // The emulator directory lies in `parent`, below the test's temporary folder.
    explicit WindowTest(const std::string& parent = "My Games")
        : m_emu(true, parent),
          m_settings(QString::fromStdString(m_emu.ProfileFile()), QSettings::IniFormat) {}

    // A window of its own, on the test's directory, profile and store.
    std::unique_ptr<CMainFrame> Open() {
        m_doc.OnNewDocument();
        return OpenMainWindow(m_emu.Executable(), m_profile, m_snapshots, m_runner, m_doc);
    }
    CMainFrame& Frame() {
        if (!m_frame) {
            m_frame = Open();
        }
        return *m_frame;
    }
    games::CVelmoraView& View() { return *Frame().GetActiveView(); }

    // Selects the row of `game`; its index.
    int Select(int game) {
        for (int row = 0; row < View().RowCount(); ++row) {
            if (emu::LeadingNumber(View().RowGameText(row)) == game) {
                View().SelectRow(row);
                return row;
            }
        }
        ADD_FAILURE() << "no row for game " << game;
        return -1;
    }

    test::EmulatorDir m_emu;
    QSettings m_settings;
    ui::CProfile m_profile{m_settings};
    snapshot::GameSnapshots m_snapshots{m_emu.Str()};
    CVelmoraDoc m_doc;
    games::ProcessRunner m_runner{std::chrono::milliseconds(0)};
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace velmora::app
