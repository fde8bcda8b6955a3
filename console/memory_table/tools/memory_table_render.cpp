// SPDX-License-Identifier: GPL-3.0-or-later
// memory-table-render: the "Memory Channels" window headless, after a read of
// the simulator's memory and two edits (marked as not yet written), written
// to <folder>/memory_table.png, and the preview a write of them shows, to
// <folder>/memory_table_preview.png.
//
//   QT_QPA_PLATFORM=offscreen memory-table-render /tmp/render
#include <memory_table.h>

#include <corvan.h>
#include <qxsim.h>
#include <render_tool.h>

#include <QApplication>
#include <QTableWidget>

namespace {

void Render(render_tool::RenderFolder& pictures) {
    qxsim::Radio radio;
    if (!radio.start()) {
        pictures.Fail(QStringLiteral("no pseudo-terminal: %1").arg(QString::fromStdString(radio.lastError())));
        return;
    }
    radio.modify([](qxsim::State& s) {
        struct Entry {
            int index;
            long long hz, tx;
            int mode, tone, number, shift;
            long offset;
            const char* name;
        };
        const Entry entries[] = {
            {0, 145'500'000, 0, 4, 0, 1, 0, 0, "SIMPLEX"},  {1, 146'940'000, 0, 4, 1, 12, 2, 600'000, "W1AW"},
            {2, 147'120'000, 0, 4, 2, 18, 1, 600'000, "K1ABC"}, {3, 442'050'000, 0, 4, 3, 14, 1, 5'000'000, "UHF RPT"},
            {4, 14'195'000, 0, 2, 0, 1, 0, 0, "20M SSB"},    {5, 7'030'000, 0, 3, 0, 1, 0, 0, "40M CW"},
            {6, 50'125'000, 0, 2, 0, 1, 0, 0, "6M CALL"},    {290, 144'000'000, 146'000'000, 4, 0, 1, 0, 0, "2M SCAN"},
        };
        for (const Entry& e : entries) {
            qxsim::MemoryChannel& ch = s.memory[static_cast<std::size_t>(e.index)];
            ch.half[0].frequency = e.hz;
            ch.half[0].mode = e.mode;
            ch.half[0].toneType = e.tone;
            ch.half[0].toneNumber = e.tone == 1 ? e.number : 8;
            ch.half[0].ctcss = e.tone == 2 ? e.number : 8;
            ch.half[0].dcs = e.tone == 3 ? e.number : 0;
            ch.half[0].shift = e.shift;
            ch.half[0].offset = e.offset;
            ch.half[0].name = e.name;
            if (e.tx != 0) {
                ch.half[1] = ch.half[0];
                ch.half[1].frequency = e.tx;
                ch.hasTransmitHalf = true;
            }
        }
    });
    CCorvan link;
    if (link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1) != 1) {
        pictures.Fail(QStringLiteral("the link did not open"));
        return;
    }
    memory_table::ConsoleHooks hooks;
    hooks.link = [&link] { return &link; };
    hooks.operationRunning = [] { return false; };
    hooks.identification = [] { return 19; };
    memory_table::MemoryTableWindow window(hooks);
    window.show();
    window.ReadFromRadio();
    window.RunToEnd();
    window.EditCell(2, memory_table::MemoryTableWindow::kName, QStringLiteral("K1ABC/R"));
    window.EditCell(7, memory_table::MemoryTableWindow::kRxFreq, QStringLiteral("433.500"));
    window.table()->scrollToTop();
    pictures.Save(&window, QString());
    // The preview "Write to radio" would show for the two edits.
    QString changes;
    window.SetWriteConfirmation([&changes](const QString& shown, const QString&) {
        changes = shown;
        return false;
    });
    window.WriteToRadio();
    const auto preview = memory_table::MakeWritePreview(
        changes, QStringLiteral("~/.local/share/Zephyra/memory-backups/channels-before-write-20261209-011500.csv"),
        nullptr);
    preview->show();
    pictures.Save(preview.get(), QStringLiteral("preview"));
    link.Close();
    radio.stop();
}

} // namespace

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "memory-table", Render);
}
