// The user-interface texts, compared with tables written out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestApp.h"
#include "res/CommandIds.h"
#include "res/Resources.h"
#include "res/Version.h"

namespace zavio::test {
namespace {

// Blanks written as counts: "3 2 1" is 3 ASCII spaces, 2 ideographic spaces,
// 1 ASCII space, alternating from ASCII.
std::string Blanks(std::vector<int> runs)
{
    std::string out;
    bool ascii = true;
    for (int n : runs) {
        for (int i = 0; i < n; ++i) out += ascii ? " " : "　";
        ascii = !ascii;
    }
    return out;
}

std::string Spaces(int n)
{
    return std::string(n, ' ');
}

struct Item {
    unsigned id;
    std::string caption;  // empty for a separator
};
struct Popup {
    std::string caption;
    std::vector<Item> items;
};

void ExpectMenuBar(unsigned bar, const std::vector<Popup>& expected)
{
    const auto& actual = res::MenuBar(bar);
    ASSERT_EQ(actual.size(), expected.size()) << "bar " << bar;
    for (std::size_t p = 0; p < expected.size(); ++p) {
        EXPECT_EQ(actual[p].caption, expected[p].caption);
        ASSERT_EQ(actual[p].items.size(), expected[p].items.size()) << expected[p].caption;
        for (std::size_t i = 0; i < expected[p].items.size(); ++i) {
            EXPECT_EQ(actual[p].items[i].id, expected[p].items[i].id) << expected[p].caption << " #" << i;
            EXPECT_EQ(actual[p].items[i].caption, expected[p].items[i].caption) << expected[p].items[i].id;
            // Every caption must exist in CP932.
            EXPECT_NO_THROW(J(actual[p].items[i].caption));
        }
    }
}

TEST(ResourcesTest, MenusPromptsAndTooltipsCarryTheirTexts)
{
    const std::vector<Item> guides = {{32776, "準備-A(&A)"},
                                      {32777, "準備-B(&B)"},
                                      {32778, "準備-C(&C)"},
                                      {32779, "準備-D(&D)"},
                                      {32780, "準備-E(&E)"}};
    const std::vector<Item> help128 = {{57667, "Win Help 目次(&H)"},
                                       {32772, "HTML Help 目次"},
                                       {32773, "HP Type Help 目次"},
                                       {0, ""},
                                       {57664, "Zavio のﾊﾞｰｼﾞｮﾝ情報(&A)"}};
    ExpectMenuBar(128, {
                           {"ﾌｧｲﾙ(&F)",
                            {{57600, "新規作成(&N)\tCtrl+N"},
                             {57601, "開く(&O)...\tCtrl+O"},
                             {0, ""},
                             {57606, "ﾌﾟﾘﾝﾀの設定(&R)..."},
                             {0, ""},
                             {57665, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
                           {"HTML変換(&C)", guides},
                           {"表示(&V)", {{59392, "ﾂｰﾙ ﾊﾞｰ(&T)"}, {59393, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}}},
                           {"ﾍﾙﾌﾟ(&H)", help128},
                       });
    std::vector<Item> conversion = guides;
    conversion.push_back({32771, "HTML Help 変換開始(&H)"});
    conversion.push_back({32783, "HP Type Help 変換開始(&P)"});
    std::vector<Item> help129 = help128;
    help129.back().caption = "Zavio のバージョン情報(&A)";
    ExpectMenuBar(129, {
                           {"ﾌｧｲﾙ(&F)",
                            {{57600, "新規作成(&N)\tCtrl+N"},
                             {57601, "開く(&O)...\tCtrl+O"},
                             {57602, "閉じる(&C)"},
                             {57603, "上書き保存(&S)\tCtrl+S"},
                             {57604, "名前を付けて保存(&A)..."},
                             {0, ""},
                             {57607, "印刷(&P)...\tCtrl+P"},
                             {57609, "印刷プレビュー(&V)"},
                             {57606, "プリンタの設定(&R)..."},
                             {0, ""},
                             {57665, "アプリケーションの終了(&X)"}}},
                           {"編集(&E)",
                            {{57643, "元に戻す(&U)\tCtrl+Z"},
                             {0, ""},
                             {57635, "切り取り(&T)\tCtrl+X"},
                             {57634, "コピー(&C)\tCtrl+C"},
                             {57637, "貼り付け(&P)\tCtrl+V"},
                             {0, ""},
                             {57636, "検索"},
                             {57641, "置換"},
                             {57642, "すべて選択"},
                             {0, ""},
                             {57632, "削除)\tDel"}}},
                           {"HTML変換(&C)", conversion},
                           {"表示(&V)", {{59392, "ツールバー(&T)"}, {59393, "ステータスバー(&S)"}}},
                           {"ｳｨﾝﾄﾞｳ(&W)",
                            {{57648, "新しいウィンドウを開く(&N)"},
                             {57650, "重ねて表示(&C)"},
                             {57651, "並べて表示(&T)"},
                             {57649, "アイコンの整列(&A)"}}},
                           {"ﾍﾙﾌﾟ(&H)", help129},
                       });

    // Prompt and tooltip of every command.
    const struct {
        unsigned id;
        std::string prompt, tooltip;
    } strings[] = {
        {57600, "新規にファイルを作成", "新規作成"},
        {57601, "既存のファイルを開く", "開く"},
        {57602, "作業中のファイルを閉じる", "閉じる"},
        {57603, "作業中のファイルを上書きして保存", "保存"},
        {57604, "作業中のファイルを新しい名前で保存", "名前をつけて保存"},
        {57607, "作業中のファイルを印刷", "印刷"},
        {57609, "印刷イメージを表示", "印刷ﾌﾟﾚﾋﾞｭｰ"},
        {57606, "プリンタ/印刷オプションの変更", "印刷設定"},
        {57665, "アプリケーションを終了し、ファイルの保存を指示", "終了"},
        {57643, "直前に行った動作を元に戻す", "元に戻す"},
        {57635, "選択範囲を切り取ってクリップボードﾞに保存", "切り取り"},
        {57634, "選択範囲をコピーしてクリップボードﾞに保存", "ｺﾋﾟｰ"},
        {57637, "クリップボードﾞの内容を貼り付け", "貼り付け"},
        {57636, "指定した文字列を検索", "検索"},
        {57641, "指定した文字列を他の文字列で置換", "置換"},
        {57642, "ファイル内のすべてを選択", "すべて選択"},
        {57632, "選択範囲を消去", "消去"},
        {32776, "変換の準備を説明する", "準備-A"},
        {32777, "変換の準備を説明する", "準備-B"},
        {32778, "変換の準備を説明する", "準備-C"},
        {32779, "変換の準備を説明する", "準備-D"},
        {32780, "変換の準備を説明する", "準備-E"},
        {32771, "HTML Help 原稿ファイルとプロジェクトを生成する", "HTML Help 変換開始"},
        {32783, "HP Type Help の目次とファイルを生成する", "HP Type Help 変換開始"},
        {59392, "ツールバーの 表示/非表示の表示切り替え", "ツールバー"},
        {59393, "ステータスバーの 表示/非表示の表示切り替え", "ステータスバー"},
        {57648, "作業中のウィンドウを複写して表示", "新しいウィンドウを開く"},
        {57650, "ウィンドウを重ねて表示", "重ねて表示"},
        {57651, "ウィンドウを並べて表示", "並べて表示"},
        {57649, "ウィンドウの下部にアイコンを整列", "アイコンの整列"},
        {57667, "ウインドウヘルプの目次を表示する", "Win Help 目次"},
        {32772, "HTMLヘルプを表示する", "HTML Help 目次"},
        {32773, "ホームページタイプのヘルプの目次を表示する", "HP Type Help 目次"},
        {57664, "プログラムの情報、バージョンそして著作権を表示", "バージョン情報"},
        {32782, "HP Type Help により、クリックされたボタン、メニューのヘルプを表示", "HP依存ヘルプ"},
        {57669, "クリックされたボタン、メニューまたはウィンドウのヘルプを表示", "状況依存ヘルプ"},
        {57670, "現在のﾀｽｸまたはｺﾏﾝﾄﾞのﾍﾙﾌﾟを表示", "ﾍﾙﾌﾟ"},
        {57680, "次のｳｨﾝﾄﾞｳに切り替える", "次のﾍﾟｲﾝ"},
        {57681, "前のｳｨﾝﾄﾞｳに切り替える", "前のﾍﾟｲﾝ"},
    };
    for (const auto& s : strings) {
        EXPECT_EQ(res::CommandPrompt(s.id), s.prompt) << s.id;
        EXPECT_EQ(res::CommandTooltip(s.id), s.tooltip) << s.id;
    }
    EXPECT_EQ(res::StringResource(57671), "");
    EXPECT_EQ(res::StringResource(129), "\nZavio\nZavio\n\n\nZavio.Document\nZavio Document");
    EXPECT_EQ(res::StringResource(res::AFX_IDS_IDLEMESSAGE),
              "ヘルプを表示するには F1 を押してください。Windows8 以降では F1 を押さないでください。 ");
    EXPECT_EQ(res::StringResource(res::AFX_IDS_HELPMODEMESSAGE), "ﾍﾙﾌﾟを使用するｵﾌﾞｼﾞｪｸﾄを選択");

    // Keys, toolbar and status bar.
    std::vector<std::pair<std::string, unsigned>> keys;
    for (const auto& a : res::Accelerators()) keys.emplace_back(a.keys, a.id);
    EXPECT_EQ(keys, (std::vector<std::pair<std::string, unsigned>>{{"Ctrl+N", 57600},
                                                                   {"Ctrl+O", 57601},
                                                                   {"Ctrl+S", 57603},
                                                                   {"Ctrl+P", 57607},
                                                                   {"Ctrl+Z", 57643},
                                                                   {"Alt+Backspace", 57643},
                                                                   {"Ctrl+X", 57635},
                                                                   {"Shift+Del", 57635},
                                                                   {"Ctrl+C", 57634},
                                                                   {"Ctrl+Ins", 57634},
                                                                   {"Ctrl+V", 57637},
                                                                   {"Shift+Ins", 57637},
                                                                   {"F1", 57670},
                                                                   {"Shift+F1", 57669},
                                                                   {"F6", 57680},
                                                                   {"Shift+F6", 57681},
                                                                   {"Ctrl+F", 57636},
                                                                   {"Ctrl+H", 57641}}));
    EXPECT_EQ(res::ToolbarButtons(),
              (std::vector<unsigned>{57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57607, 0, 57664, 57669, 32782}));
    std::vector<std::string> panes;
    for (const auto& p : res::StatusPanes()) panes.emplace_back(p.text);
    EXPECT_EQ(panes, (std::vector<std::string>{"", "ｶﾅ", "CAP", "NUM", "SCRL"}));

    // The about box.
    const res::DialogResource& about = res::AboutBox();
    EXPECT_EQ(about.caption, "Zavioのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(std::make_pair(about.width, about.height), std::make_pair(235, 55));
    EXPECT_EQ(about.fontName, "ＭＳ ゴシック");
    EXPECT_EQ(about.pointSize, 12);
    ASSERT_EQ(about.controls.size(), 4u);
    EXPECT_EQ(about.controls[0].kind, res::DialogControl::Icon);
    EXPECT_EQ(std::make_pair(about.controls[0].x, about.controls[0].y), std::make_pair(11, 17));
    EXPECT_EQ(about.controls[1].text, "Zavio Version 1.01");
    EXPECT_EQ(
        std::vector<int>({about.controls[1].x, about.controls[1].y, about.controls[1].width, about.controls[1].height}),
        std::vector<int>({40, 10, 119, 8}));
    EXPECT_EQ(about.controls[2].text, "旧ヘルプから新ヘルプへの変換ソフト " ZAVIO_VERSION);
    EXPECT_EQ(std::make_pair(about.controls[2].x, about.controls[2].y), std::make_pair(40, 25));
    EXPECT_EQ(about.controls[3].kind, res::DialogControl::DefaultButton);
    EXPECT_EQ(about.controls[3].text, "OK");
    EXPECT_EQ(about.controls[3].id, 1u);
    EXPECT_EQ(
        std::vector<int>({about.controls[3].x, about.controls[3].y, about.controls[3].width, about.controls[3].height}),
        std::vector<int>({178, 7, 50, 14}));

    // The five guides, piece by piece, blanks counted.
    const std::string guideA =
        Blanks({1, 2}) + "開発時に作成した Win Help の原稿となる リッチファイル AfxCore.rtf等 を用意します。\n" +
        "リッチファイルは Win Help の実行ファイル ***.hlp を Universal Extractor で解凍しても得られます。\n" +
        Blanks({13, 3, 2, 2}) + "原稿の リッチファイルを Word で開き\n" + Blanks({1, 5}) +
        "{bmc filenew.bmp} {bml scmenu.bmp} などの画像挿入文を消去し\n" + Blanks({6, 5, 2}) +
        "filenew.bmp scmenu.bmp などの画像ファイルを開き\n" + Blanks({6, 2, 2, 3, 5}) +
        "画像を全選択してクリップボードにコピーし\n" + Blanks({3, 4, 2, 1, 11}) +
        "原稿のリッチファイルに貼り付けます。\n\n" + Blanks({1, 5, 7}) +
        "全ての画像挿入文を画像の貼り付けに置き換えます。\n" + Blanks({1, 5, 2, 1, 1}) +
        "編集した原稿はリッチファイルとして保存しておきます。\n\n" + Spaces(4) +
        "HTML Help を作成する時は、画像を 256色ビットマップ としてからコピー貼り付けします。\n" + Spaces(2) +
        "HTML Help Wprkshop アプリケーションが 24ビットビットマップ を受け付けないことがある為です。\n" + Spaces(11) +
        "詳しくは [ヘルプ] の [関連項目][画像の調整] を参照してください。";
    const std::string guideB = Spaces(10) + "画像を編集した原稿の リッチファイル(*.rtf) を Word で開き\n" + Spaces(11) +
                               "Webページ(*.htm, *html) として名前を付けて保存します。\n\n" +
                               "ファイルが大きすぎる場合は、[開く]コマンドを指定した時にエラー表示が出ます。\n" +
                               Spaces(9) + "その場合は、リッチファイルを複数のファイルに分割してください。";
    const std::string copyHyphen = "コピ\uFF0D";
    const std::string guideC = Spaces(27) + "変換を実行するフォルダを作り\n" +
                               "原稿のHTMLファイル(*.htm) と 画像の入ったフォルダ を選択" + copyHyphen +
                               "して貼り付けます。";
    const std::string guideD = Spaces(19) + "編集された目次 を作る場合は\n" +
                               "Win Help を作るときに目次とした *.cnt ファイルを選択" + copyHyphen + "して\n" +
                               Spaces(11) + "変換を実行するフォルダに貼り付けます。\n" + Spaces(1) +
                               "HTML原稿ファイルと目次ファイルは異なった名称にしてください。\n\n" +
                               "目次ファイル(*.cnt) が無い場合は、全頁の目次が作成されます。\n";
    const std::string ideographic = "\u3000";
    const std::string guideE =
        Spaces(22) + "変換を実行するフォルダの\"全ての\"原稿ファイル(*.htm)を\n" + Spaces(37) +
        "[ファイル][開く]コマンドで開きます。\n" + Spaces(28) + "ファイルが大きすぎる場合は、エラー表示が出ます。\n" +
        Spaces(33) + "サイズの目安は およそ1000KB以下 です。\n" + Spaces(39) + "[準備-B] を参照してください。\n\n" +
        Spaces(38) + "目次ファイル(*.cnt)がある場合も\n" + Spaces(38) + "[ファイル][開く]コマンドで開きます。\n\n" +
        Spaces(20) + "以上の準備が完了したら [変換開始] コマンドを指定します。\n" + "[HTML Help 変換開始] では" +
        ideographic + "HTML Help Workshop の プロジェクトと目次ファイルを生成します。\n" + Spaces(10) +
        "[HP Type Help 変換開始] では" + ideographic + "目次と各ページの HTMLファイル を生成します。\n";
    EXPECT_EQ(res::GuideText(ID_PREP_A), guideA);
    EXPECT_EQ(res::GuideText(ID_PREP_B), guideB);
    EXPECT_EQ(res::GuideText(ID_PREP_C), guideC);
    EXPECT_EQ(res::GuideText(ID_PREP_D), guideD);
    EXPECT_EQ(res::GuideText(ID_PREP_E), guideE);
    // The full-width hyphen is its own CP932 character, not the long-vowel mark.
    EXPECT_EQ(J(copyHyphen).substr(4), "\x81\x7C");

    // The terms text: 13 lines, blanks counted.
    std::vector<std::string> terms(res::TermsTextLines().begin(), res::TermsTextLines().end());
    EXPECT_EQ(terms,
              (std::vector<std::string>{Spaces(7) + "旧ヘルプから新ヘルプへの変換ソフト【ザビオ】",
                                        Spaces(32) + "Ver.01.00", "", Spaces(30) + "[使用許諾条件]", "", Spaces(22),
                                        Spaces(6), Spaces(21), Spaces(2), "", Spaces(24), Spaces(24), Spaces(21)}));
}

}  // namespace
}  // namespace zavio::test
