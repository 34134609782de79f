// How long matching a large contents file against many pages takes: every
// entry goes through the similarity stage, the slow path.
#include <chrono>
#include <cstdio>
#include <random>

#include "convert/ContentsEntry.h"
#include "convert/ConversionState.h"
#include "convert/HtmlHelpProject.h"
#include "framework/Cp932.h"

namespace {

// Help-page titles made of common words, so that pages share many byte
// pairs as real titles do.
std::string RandomTitle(std::mt19937& rng)
{
    static const char* const kWords[] = {"ファイル", "の",     "保存",       "開く",       "表示",     "設定",
                                         "印刷",     "編集",   "コピー",     "貼り付け",   "ヘルプ",   "目次",
                                         "変換",     "ページ", "ウィンドウ", "ツールバー", "ソート",   "ポップアップ",
                                         "とは",     "する",   "方法",       "について",   "を",       "と",
                                         "新規",     "作成",   "閉じる",     "元に戻す",   "切り取り", "プレビュー"};
    std::string title;
    int words = std::uniform_int_distribution<int>(3, 7)(rng);
    for (int i = 0; i < words; ++i) title += zavio::ToCp932(kWords[rng() % std::size(kWords)]);
    title += std::to_string(rng() % 100);
    return title;
}

}  // namespace

int main(int argc, char** argv)
{
    const int pages = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 5000;
    std::mt19937 rng(7);
    zavio::CConversionState run;
    for (int i = 0; i < pages; ++i) {
        run.m_saPageTitles.push_back(RandomTitle(rng));
        run.m_saPageFiles.push_back("HID_PAGE_" + std::to_string(i));
    }
    std::vector<std::string> names;
    for (int i = 0; i < entries; ++i) names.push_back(RandomTitle(rng));

    auto start = std::chrono::steady_clock::now();
    run.IndexPages();
    const double indexSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("IndexPages, %d pages: %.3f s\n", pages, indexSeconds);

    start = std::chrono::steady_clock::now();
    long long scoreSum = 0;
    for (const std::string& name : names) {
        std::string title = name, topic = "no such page";
        int score = 0;
        zavio::FindPageForTitle(run.Pages(), title, topic, score);
        scoreSum += score;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("FindPageForTitle, %d entries one by one against %d pages: %.3f s (mean score %.1f)\n", entries, pages,
                seconds, entries ? static_cast<double>(scoreSum) / entries : 0.0);

    // The same entries as a contents file, read by the sitemap writer.
    zavio::LineList contents;
    for (const std::string& name : names) contents.push_back("2 " + name + "=no such page");
    zavio::LineList target;
    start = std::chrono::steady_clock::now();
    zavio::AppendHhcTreeFromCnt(run.Pages(), contents, target);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("AppendHhcTreeFromCnt, a contents file of %d entries against %d pages: %.3f s\n", entries, pages,
                seconds);
    return 0;
}
