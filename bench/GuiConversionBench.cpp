// The homepage-type conversion of generated manuscripts through the real
// windows (offscreen): how long it takes and how many windows stay open.
// Prints figures; not a test.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ScriptedQtHost.h"
#include "WordManuscript.h"
#include "res/CommandIds.h"

namespace {

std::vector<zavio::test::WordTopic> Topics(int count)
{
    std::vector<zavio::test::WordTopic> topics;
    for (int i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        topics.push_back({"HID_TOPIC_" + n, "トピック " + n, "本文の段落です。" + n + " 番目のページ。",
                          i + 1 < count ? "次へ" : "", i + 1 < count ? "HID_TOPIC_" + std::to_string(i + 1) : ""});
    }
    return topics;
}

void Run(int pages)
{
    zavio::test::GuiFixture fixture;
    if (!fixture.Start()) return;
    QDir(fixture.Folder()).mkpath("conv");
    const QString manuscript = fixture.Folder() + "conv/manual.htm";
    QFile file(manuscript);
    if (!file.open(QIODevice::WriteOnly)) return;
    const std::string bytes = zavio::test::WordManuscript(Topics(pages));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();

    QElapsedTimer clock;
    clock.start();
    fixture.Host().m_fileAnswers.push_back({manuscript});
    fixture.Window()->RunCommand(zavio::ID_FILE_OPEN);
    const qint64 opened = clock.elapsed();
    fixture.Window()->RunCommand(zavio::ID_SEPARATE_HP_TYPE);
    const qint64 converted = clock.elapsed() - opened;
    const int written = static_cast<int>(QDir(fixture.Folder() + "conv").entryList(QDir::Files).size());
    std::printf("%6d pages  %8.1f KB  open %6lld ms  convert %7lld ms  files %5d  windows left %3d\n", pages,
                bytes.size() / 1024.0, static_cast<long long>(opened), static_cast<long long>(converted), written,
                fixture.WindowCount());
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Page counts may be given: zavio_bench_gui 2000
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {50, 200, 550};
    for (int pages : counts) Run(pages);
    return 0;
}
