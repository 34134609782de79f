// Opening large manuscripts in a window (offscreen, or on the display given):
// the Open command until the window shows the text, then its first paint.
// Prints figures; not a test.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "ScriptedQtHost.h"
#include "WordManuscript.h"
#include "res/CommandIds.h"
#include "ui/TextEdit.h"

namespace {

// Topics of about 4 KB, as in a manuscript of 400 topics in 1.6 MB.
std::string Manuscript(std::size_t bytes)
{
    std::string paragraph;
    while (paragraph.size() < 1200) paragraph += "ヘルプ原稿の本文です。操作の手順を説明します。";
    std::vector<zavio::test::WordTopic> topics;
    const auto addTopics = [&](std::size_t count) {
        for (std::size_t i = topics.size(); topics.size() < count; ++i) {
            const std::string n = std::to_string(i);
            topics.push_back({"HID_TOPIC_" + n, "トピック " + n, paragraph + n});
        }
    };
    addTopics(100);
    const std::size_t perTopic = zavio::test::WordManuscript(topics).size() / 100;
    addTopics(bytes / perTopic);
    return zavio::test::WordManuscript(topics);
}

void Run(std::size_t bytes)
{
    zavio::test::GuiFixture fixture;
    if (!fixture.Start()) return;
    const QString path = fixture.Folder() + "manual.htm";
    const std::string text = Manuscript(bytes);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.close();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    fixture.Host().m_fileAnswers.push_back({path});
    fixture.Window()->RunCommand(zavio::ID_FILE_OPEN);
    const qint64 opened = clock.elapsed();
    QApplication::processEvents();
    const qint64 painted = clock.elapsed();
    const zavio::ZavioTextEdit* edit = fixture.Window()->ActiveEdit();
    std::printf("%8.1f KB  %7d lines  open %6lld ms  shown %6lld ms\n", text.size() / 1024.0,
                edit ? edit->document()->blockCount() : 0, static_cast<long long>(opened),
                static_cast<long long>(painted));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (std::size_t megabytes : {1, 10, 60}) Run(megabytes * 1024 * 1024 + (megabytes == 1 ? 600 * 1024 : 0));
    return 0;
}
