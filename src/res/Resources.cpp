#include "res/Resources.h"

#include "res/CommandIds.h"
#include "res/Version.h"

namespace zavio::res {
namespace {

constexpr unsigned kSeparator = 0;

// Captions both menu bars share.
constexpr std::string_view kFileNew = "新規作成(&N)\tCtrl+N";
constexpr std::string_view kFileOpen = "開く(&O)...\tCtrl+O";
constexpr std::string_view kWinHelpContents = "Win Help 目次(&H)";
constexpr std::string_view kHtmlHelpContents = "HTML Help 目次";
constexpr std::string_view kHpTypeContents = "HP Type Help 目次";

// The conversion menu and its items have mnemonics, as every other menu has.
constexpr std::string_view kConversionMenu = "HTML変換(&C)";

std::vector<MenuItem> GuideItems()
{
    return {{ID_PREP_A, "準備-A(&A)"},
            {ID_PREP_B, "準備-B(&B)"},
            {ID_PREP_C, "準備-C(&C)"},
            {ID_PREP_D, "準備-D(&D)"},
            {ID_PREP_E, "準備-E(&E)"}};
}

// The bar without a document window spells some captions in half-width
// katakana.
std::vector<MenuPopup> MainFrameMenu()
{
    return {
        {"ﾌｧｲﾙ(&F)",
         {{ID_FILE_NEW, kFileNew},
          {ID_FILE_OPEN, kFileOpen},
          {kSeparator, {}},
          {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀの設定(&R)..."},
          {kSeparator, {}},
          {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
        {kConversionMenu, GuideItems()},
        {"表示(&V)", {{ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)"}, {ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"}}},
        {"ﾍﾙﾌﾟ(&H)",
         {{ID_HELP_FINDER, kWinHelpContents},
          {ID_HELP_HTML, kHtmlHelpContents},
          {ID_HELP_HP_TYPE, kHpTypeContents},
          {kSeparator, {}},
          {ID_APP_ABOUT, "Zavio のﾊﾞｰｼﾞｮﾝ情報(&A)"}}},
    };
}

std::vector<MenuPopup> DocumentMenu()
{
    std::vector<MenuItem> conversion = GuideItems();
    conversion.push_back({ID_SEPARATE_HTML_HELP, "HTML Help 変換開始(&H)"});
    conversion.push_back({ID_SEPARATE_HP_TYPE, "HP Type Help 変換開始(&P)"});
    return {
        {"ﾌｧｲﾙ(&F)",
         {{ID_FILE_NEW, kFileNew},
          {ID_FILE_OPEN, kFileOpen},
          {ID_FILE_CLOSE, "閉じる(&C)"},
          {ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"},
          {ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."},
          {kSeparator, {}},
          {ID_FILE_PRINT, "印刷(&P)...\tCtrl+P"},
          {ID_FILE_PRINT_PREVIEW, "印刷プレビュー(&V)"},
          {ID_FILE_PRINT_SETUP, "プリンタの設定(&R)..."},
          {kSeparator, {}},
          {ID_APP_EXIT, "アプリケーションの終了(&X)"}}},
        {"編集(&E)",
         {{ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
          {kSeparator, {}},
          {ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
          {ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
          {ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
          {kSeparator, {}},
          {ID_EDIT_FIND, "検索"},
          {ID_EDIT_REPLACE, "置換"},
          {ID_EDIT_SELECT_ALL, "すべて選択"},
          {kSeparator, {}},
          {ID_EDIT_CLEAR, "削除)\tDel"}}},
        {kConversionMenu, conversion},
        {"表示(&V)", {{ID_VIEW_TOOLBAR, "ツールバー(&T)"}, {ID_VIEW_STATUS_BAR, "ステータスバー(&S)"}}},
        {"ｳｨﾝﾄﾞｳ(&W)",
         {{ID_WINDOW_NEW, "新しいウィンドウを開く(&N)"},
          {ID_WINDOW_CASCADE, "重ねて表示(&C)"},
          {ID_WINDOW_TILE_HORZ, "並べて表示(&T)"},
          {ID_WINDOW_ARRANGE, "アイコンの整列(&A)"}}},
        {"ﾍﾙﾌﾟ(&H)",
         {{ID_HELP_FINDER, kWinHelpContents},
          {ID_HELP_HTML, kHtmlHelpContents},
          {ID_HELP_HP_TYPE, kHpTypeContents},
          {kSeparator, {}},
          {ID_APP_ABOUT, "Zavio のバージョン情報(&A)"}}},
    };
}

struct StringEntry {
    unsigned id;
    std::string_view text;
};

constexpr StringEntry kStrings[] = {
    {IDR_MAINFRAME, "Zavio"},
    {IDR_ZAVIOTYPE, "\nZavio\nZavio\n\n\nZavio.Document\nZavio Document"},
    {AFX_IDS_APP_TITLE, "Zavio"},
    {AFX_IDS_IDLEMESSAGE, "ヘルプを表示するには F1 を押してください。Windows8 以降では F1 を押さないでください。 "},
    {AFX_IDS_HELPMODEMESSAGE, "ﾍﾙﾌﾟを使用するｵﾌﾞｼﾞｪｸﾄを選択"},
    {ID_INDICATOR_KANA, "ｶﾅ"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_FILE_NEW, "新規にファイルを作成\n新規作成"},
    {ID_FILE_OPEN, "既存のファイルを開く\n開く"},
    {ID_FILE_CLOSE, "作業中のファイルを閉じる\n閉じる"},
    {ID_FILE_SAVE, "作業中のファイルを上書きして保存\n保存"},
    {ID_FILE_SAVE_AS, "作業中のファイルを新しい名前で保存\n名前をつけて保存"},
    {ID_FILE_PRINT, "作業中のファイルを印刷\n印刷"},
    {ID_FILE_PRINT_PREVIEW, "印刷イメージを表示\n印刷ﾌﾟﾚﾋﾞｭｰ"},
    {ID_FILE_PRINT_SETUP, "プリンタ/印刷オプションの変更\n印刷設定"},
    {ID_APP_EXIT, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
    {ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す"},
    {ID_EDIT_CUT, "選択範囲を切り取ってクリップボードﾞに保存\n切り取り"},
    {ID_EDIT_COPY, "選択範囲をコピーしてクリップボードﾞに保存\nｺﾋﾟｰ"},
    {ID_EDIT_PASTE, "クリップボードﾞの内容を貼り付け\n貼り付け"},
    {ID_EDIT_FIND, "指定した文字列を検索\n検索"},
    {ID_EDIT_REPLACE, "指定した文字列を他の文字列で置換\n置換"},
    {ID_EDIT_SELECT_ALL, "ファイル内のすべてを選択\nすべて選択"},
    {ID_EDIT_CLEAR, "選択範囲を消去\n消去"},
    {ID_PREP_A, "変換の準備を説明する\n準備-A"},
    {ID_PREP_B, "変換の準備を説明する\n準備-B"},
    {ID_PREP_C, "変換の準備を説明する\n準備-C"},
    {ID_PREP_D, "変換の準備を説明する\n準備-D"},
    {ID_PREP_E, "変換の準備を説明する\n準備-E"},
    {ID_SEPARATE_HTML_HELP, "HTML Help 原稿ファイルとプロジェクトを生成する\nHTML Help 変換開始"},
    {ID_SEPARATE_HP_TYPE, "HP Type Help の目次とファイルを生成する\nHP Type Help 変換開始"},
    {ID_VIEW_TOOLBAR, "ツールバーの 表示/非表示の表示切り替え\nツールバー"},
    {ID_VIEW_STATUS_BAR, "ステータスバーの 表示/非表示の表示切り替え\nステータスバー"},
    {ID_WINDOW_NEW, "作業中のウィンドウを複写して表示\n新しいウィンドウを開く"},
    {ID_WINDOW_CASCADE, "ウィンドウを重ねて表示\n重ねて表示"},
    {ID_WINDOW_TILE_HORZ, "ウィンドウを並べて表示\n並べて表示"},
    {ID_WINDOW_ARRANGE, "ウィンドウの下部にアイコンを整列\nアイコンの整列"},
    {ID_HELP_FINDER, "ウインドウヘルプの目次を表示する\nWin Help 目次"},
    {ID_HELP_HTML, "HTMLヘルプを表示する\nHTML Help 目次"},
    {ID_HELP_HP_TYPE, "ホームページタイプのヘルプの目次を表示する\nHP Type Help 目次"},
    {ID_APP_ABOUT, "プログラムの情報、バージョンそして著作権を表示\nバージョン情報"},
    {ID_CONTEXT_HELP_HP, "HP Type Help により、クリックされたボタン、メニューのヘルプを表示\nHP依存ヘルプ"},
    {ID_CONTEXT_HELP, "クリックされたボタン、メニューまたはウィンドウのヘルプを表示\n状況依存ヘルプ"},
    {ID_HELP, "現在のﾀｽｸまたはｺﾏﾝﾄﾞのﾍﾙﾌﾟを表示\nﾍﾙﾌﾟ"},
    {ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳに切り替える\n次のﾍﾟｲﾝ"},
    {ID_PREV_PANE, "前のｳｨﾝﾄﾞｳに切り替える\n前のﾍﾟｲﾝ"},
};

// The guide messages, piece by piece; the leading blanks (ASCII and
// ideographic) are part of the text.
constexpr std::string_view kGuideA[] = {
    " 　　開発時に作成した Win Help の原稿となる リッチファイル AfxCore.rtf等 を用意します。\n",
    "リッチファイルは Win Help の実行ファイル ***.hlp を Universal Extractor で解凍しても得られます。\n",
    "             　　　  　　原稿の リッチファイルを Word で開き\n",
    " 　　　　　{bmc filenew.bmp} {bml scmenu.bmp} などの画像挿入文を消去し\n",
    "      　　　　　  filenew.bmp scmenu.bmp などの画像ファイルを開き\n",
    "      　　  　　　     画像を全選択してクリップボードにコピーし\n",
    "   　　　　  　           原稿のリッチファイルに貼り付けます。\n\n",
    " 　　　　　       全ての画像挿入文を画像の貼り付けに置き換えます。\n",
    " 　　　　　  　 編集した原稿はリッチファイルとして保存しておきます。\n\n",
    "    HTML Help を作成する時は、画像を 256色ビットマップ としてからコピー貼り付けします。\n",
    "  HTML Help Wprkshop アプリケーションが 24ビットビットマップ を受け付けないことがある為です。\n",
    "           詳しくは [ヘルプ] の [関連項目][画像の調整] を参照してください。",
};

constexpr std::string_view kGuideB[] = {
    "          画像を編集した原稿の リッチファイル(*.rtf) を Word で開き\n",
    "           Webページ(*.htm, *html) として名前を付けて保存します。\n\n",
    "ファイルが大きすぎる場合は、[開く]コマンドを指定した時にエラー表示が出ます。\n",
    "         その場合は、リッチファイルを複数のファイルに分割してください。",
};

constexpr std::string_view kGuideC[] = {
    "                           変換を実行するフォルダを作り\n",
    "原稿のHTMLファイル(*.htm) と 画像の入ったフォルダ を選択コピ－して貼り付けます。",
};

constexpr std::string_view kGuideD[] = {
    "                   編集された目次 を作る場合は\n",
    "Win Help を作るときに目次とした *.cnt ファイルを選択コピ－して\n",
    "           変換を実行するフォルダに貼り付けます。\n",
    " HTML原稿ファイルと目次ファイルは異なった名称にしてください。\n\n",
    "目次ファイル(*.cnt) が無い場合は、全頁の目次が作成されます。\n",
};

constexpr std::string_view kGuideE[] = {
    "                      変換を実行するフォルダの\"全ての\"原稿ファイル(*.htm)を\n",
    "                                     [ファイル][開く]コマンドで開きます。\n",
    "                            ファイルが大きすぎる場合は、エラー表示が出ます。\n",
    "                                 サイズの目安は およそ1000KB以下 です。\n",
    "                                       [準備-B] を参照してください。\n\n",
    "                                      目次ファイル(*.cnt)がある場合も\n",
    "                                      [ファイル][開く]コマンドで開きます。\n\n",
    "                    以上の準備が完了したら [変換開始] コマンドを指定します。\n",
    "[HTML Help 変換開始] では　HTML Help Workshop の プロジェクトと目次ファイルを生成します。\n",
    "          [HP Type Help 変換開始] では　目次と各ページの HTMLファイル を生成します。\n",
};

template <std::size_t N>
std::string Concatenate(const std::string_view (&pieces)[N])
{
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace

const std::vector<MenuPopup>& MenuBar(unsigned resourceId)
{
    static const std::vector<MenuPopup> mainFrame = MainFrameMenu();
    static const std::vector<MenuPopup> document = DocumentMenu();
    static const std::vector<MenuPopup> none;
    if (resourceId == IDR_MAINFRAME) return mainFrame;
    if (resourceId == IDR_ZAVIOTYPE) return document;
    return none;
}

const std::vector<Accelerator>& Accelerators()
{
    static const std::vector<Accelerator> table = {
        {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+O", ID_FILE_OPEN},
        {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+Z", ID_EDIT_UNDO},
        {"Alt+Backspace", ID_EDIT_UNDO},
        {"Ctrl+X", ID_EDIT_CUT},
        {"Shift+Del", ID_EDIT_CUT},
        {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+Ins", ID_EDIT_COPY},
        {"Ctrl+V", ID_EDIT_PASTE},
        {"Shift+Ins", ID_EDIT_PASTE},
        {"F1", ID_HELP},
        {"Shift+F1", ID_CONTEXT_HELP},
        {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
        // The keys every desktop editor has for find and replace.
        {"Ctrl+F", ID_EDIT_FIND},
        {"Ctrl+H", ID_EDIT_REPLACE},
    };
    return table;
}

const std::vector<FrameKey>& FrameKeys()
{
    static const std::vector<FrameKey> keys = {
        {"Ctrl+Tab", FrameKey::NextWindow},
        {"Ctrl+F6", FrameKey::NextWindow},
        {"Ctrl+Shift+Tab", FrameKey::PreviousWindow},
        {"Ctrl+Shift+F6", FrameKey::PreviousWindow},
        {"F10", FrameKey::MenuBar},
    };
    return keys;
}

const std::vector<unsigned>& ToolbarButtons()
{
    static const std::vector<unsigned> buttons = {
        ID_FILE_NEW, ID_FILE_OPEN,  ID_FILE_SAVE, kSeparator,   ID_EDIT_CUT,     ID_EDIT_COPY,       ID_EDIT_PASTE,
        kSeparator,  ID_FILE_PRINT, kSeparator,   ID_APP_ABOUT, ID_CONTEXT_HELP, ID_CONTEXT_HELP_HP,
    };
    return buttons;
}

std::string_view StringResource(unsigned id)
{
    for (const StringEntry& entry : kStrings)
        if (entry.id == id) return entry.text;
    return {};
}

std::string_view CommandPrompt(unsigned id)
{
    std::string_view text = StringResource(id);
    return text.substr(0, text.find('\n'));
}

std::string_view CommandTooltip(unsigned id)
{
    std::string_view text = StringResource(id);
    std::size_t lineBreak = text.find('\n');
    return lineBreak == std::string_view::npos ? std::string_view() : text.substr(lineBreak + 1);
}

const std::vector<StatusPane>& StatusPanes()
{
    static const std::vector<StatusPane> panes = {
        {0, {}},
        {ID_INDICATOR_KANA, StringResource(ID_INDICATOR_KANA)},
        {ID_INDICATOR_CAPS, StringResource(ID_INDICATOR_CAPS)},
        {ID_INDICATOR_NUM, StringResource(ID_INDICATOR_NUM)},
        {ID_INDICATOR_SCRL, StringResource(ID_INDICATOR_SCRL)},
    };
    return panes;
}

const DialogResource& AboutBox()
{
    static const DialogResource dialog = {
        "Zavioのﾊﾞｰｼﾞｮﾝ情報",
        235,
        55,
        "ＭＳ ゴシック",
        12,
        {
            {DialogControl::Icon, "128", 0xFFFF, 11, 17, 20, 20},
            {DialogControl::Text, "Zavio Version 1.01", 0xFFFF, 40, 10, 119, 8},
            // The first line is the design's; the second tells which build this is.
            {DialogControl::Text, "旧ヘルプから新ヘルプへの変換ソフト " ZAVIO_VERSION, 0xFFFF, 40, 25, 119, 8},
            {DialogControl::DefaultButton, "OK", 1, 178, 7, 50, 14},
        },
    };
    return dialog;
}

std::string GuideText(unsigned commandId)
{
    switch (commandId) {
        case ID_PREP_A:
            return Concatenate(kGuideA);
        case ID_PREP_B:
            return Concatenate(kGuideB);
        case ID_PREP_C:
            return Concatenate(kGuideC);
        case ID_PREP_D:
            return Concatenate(kGuideD);
        case ID_PREP_E:
            return Concatenate(kGuideE);
        default:
            return {};
    }
}

const std::vector<std::string_view>& TermsTextLines()
{
    // The conditions themselves were never filled in: their lines hold only
    // the blanks of their layout.
    static const std::vector<std::string_view> lines = {
        "       旧ヘルプから新ヘルプへの変換ソフト【ザビオ】",
        "                                Ver.01.00",
        "",
        "                              [使用許諾条件]",
        "",
        "                      ",
        "      ",
        "                     ",
        "  ",
        "",
        "                        ",
        "                        ",
        "                     ",
    };
    return lines;
}

}  // namespace zavio::res
