// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_file.cpp - saving and loading design-data files.
#include "eqs_window.h"

#include "design_file.h"

#include <platform.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QSaveFile>
#include <QScrollBar>

#include <cmath>
#include <string_view>

namespace tonwell {

namespace {

const QString kFolderSection = QStringLiteral("File Path");
const QString kFolderKey = QStringLiteral("Audio Editor Setting File Path");
const QString kFilter = QStringLiteral("User Design Data File (*.udd)");
const QString kLoadTitle = QStringLiteral("Load User Design Data");
const QString kSaveTitle = QStringLiteral("Save User Design Data");
const QString kOpenError = QStringLiteral("File Open Error!!");
const QString kInvalidFile = QStringLiteral("Invalid design data file.");

// A design file is a few dozen bytes; more than this is not one of ours.
constexpr qint64 kMostRead = 4096;

} // namespace

QString CEqsWindow::DesignFolder() const {
    return platform::GetProfileString(kFolderSection, kFolderKey, QDir::currentPath());
}

void CEqsWindow::RememberFolder(const QString& filePath) {
    platform::WriteProfileString(kFolderSection, kFolderKey, QFileInfo(filePath).absolutePath());
}

std::optional<QString> CEqsWindow::AskDesignFile(bool save) {
    platform::FileDialogRequest request;
    request.save = save;
    request.title = save ? kSaveTitle : kLoadTitle;
    request.folder = DesignFolder();
    request.filter = kFilter;
    if (save) {
        request.defaultSuffix = QStringLiteral("udd");
    }
    const std::optional<QString> path = platform::FileDialog(request, this);
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    RememberFolder(*path);
    return path;
}

void CEqsWindow::OnFileOpen() {
    const std::optional<QString> path = AskDesignFile(false);
    if (!path) {
        return;
    }
    QFile file(*path);
    if (!QFileInfo(*path).isFile() || !file.open(QIODevice::ReadOnly)) {
        platform::MessageBox(kOpenError, kLoadTitle, platform::MbOk | platform::MbIconError, this);
        return;
    }
    const QByteArray bytes = file.read(kMostRead);
    const ParsedDesign parsed = ParseDesignFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (parsed.error != FileError::None) {
        platform::MessageBox(kInvalidFile, kLoadTitle, platform::MbOk | platform::MbIconError, this);
        return;
    }
    ApplyLoadedDesign(parsed.params);
}

void CEqsWindow::ApplyLoadedDesign(const DesignParams& loaded) {
    m_design = loaded;
    m_typeButtons[loaded.type - kLpf]->setChecked(true);
    SetBarPosition(kF1, static_cast<int>(std::lround(loaded.f1 * 1000.0)));
    SetBarPosition(kF2, static_cast<int>(std::lround(loaded.f2 * 1000.0)));
    SetBarPosition(kAttenuation, static_cast<int>(loaded.attenuation));
    EnableSecondCutoff(UsesSecondCutoff(loaded.type));
    Redesign();
}

void CEqsWindow::OnFileSave() {
    const std::optional<QString> path = AskDesignFile(true);
    if (!path) {
        return;
    }

    // Written to a temporary file and renamed: a failed save leaves the old
    // file whole.
    const std::string text = FormatDesignFile(m_design);
    QSaveFile file(*path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                       file.commit();
    if (!saved) {
        file.cancelWriting();
        platform::MessageBox(kOpenError, kSaveTitle, platform::MbOk | platform::MbIconError, this);
    }
}

} // namespace tonwell
