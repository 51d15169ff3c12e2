#include "records/system_text_table.h"

#include <iterator>

#include "platform/text_encoding.h"

namespace {

const char* const kFontNames[] = {
    /*   0 */ "System", "Terminal", "FixedSys", "Roman",
    /*   4 */ "Script", "Modern", "Small Fonts", "MS Serif",
    /*   8 */ "WST_Czec", "WST_Engl", "WST_Fren", "WST_Germ",
    /*  12 */ "WST_Ital", "WST_Span", "WST_Swed", "Courier",
    /*  16 */ "MS Sans Serif", "Marlett", "Arial", "Arial CE",
    /*  20 */ "Arial CYR", "Arial Greek", "Arial TUR", "Arial Baltic",
    /*  24 */ "Courier New", "Courier New CE", "Courier New CYR", "Courier New Greek",
    /*  28 */ "Courier New TUR", "Courier New Baltic", "Lucida Console", "Lucida Sans Unicode",
    /*  32 */ "Times New Roman", "Times New Roman CE", "Times New Roman CYR", "Times New Roman Greek",
    /*  36 */ "Times New Roman TUR", "Times New Roman Baltic", "Wingdings", "Symbol",
    /*  40 */ "Verdana", "Arial Black", "Comic Sans MS", "Impact",
    /*  44 */ "Georgia", "Franklin Gothic Medium", "Palatino Linotype", "Tahoma",
    /*  48 */ "Trebuchet MS", "Webdings", "Estrangelo Edessa", "Gautami",
    /*  52 */ "Latha", "Mangal", "MV Boli", "Raavi",
    /*  56 */ "Shruti", "Tunga", "Sylfaen", "ＭＳ ゴシック",
    /*  60 */ "ＭＳ Ｐゴシック", "MS UI Gothic", "ＭＳ 明朝", "ＭＳ Ｐ明朝",
    /*  64 */ "Microsoft Sans Serif", "Gulim", "GulimChe", "Dotum",
    /*  68 */ "DotumChe", "Batang", "BatangChe", "Gungsuh",
    /*  72 */ "GungsuhChe", "SimSun", "NSimSun", "SimSun-PUA",
    /*  76 */ "SimHei", "MingLiU", "PMingLiU", "Arial Narrow",
    /*  80 */ "Book Antiqua", "Bookman Old Style", "Century", "Century Gothic",
    /*  84 */ "Garamond", "MS Outlook", "HGｺﾞｼｯｸE", "HGPｺﾞｼｯｸE",
    /*  88 */ "HGSｺﾞｼｯｸE", "HG丸ｺﾞｼｯｸM-PRO", "HG創英角ｺﾞｼｯｸUB", "HGP創英角ｺﾞｼｯｸUB",
    /*  92 */ "HGS創英角ｺﾞｼｯｸUB", "HG創英角ﾎﾟｯﾌﾟ体", "HGP創英角ﾎﾟｯﾌﾟ体", "HGS創英角ﾎﾟｯﾌﾟ体",
    /*  96 */ "HG正楷書体-PRO", "InMusicSym", "Kartika", "Vrinda",
    /* 100 */ "メイリオ", "MT Extra", "HGｺﾞｼｯｸM", "HGPｺﾞｼｯｸM",
    /* 104 */ "HGSｺﾞｼｯｸM", "HG行書体", "HGP行書体", "HGS行書体",
    /* 108 */ "HG教科書体", "HGP教科書体", "HGS教科書体", "HG明朝B",
    /* 112 */ "HGP明朝B", "HGS明朝B", "HG明朝E", "HGP明朝E",
    /* 116 */ "HGS明朝E", "HG創英ﾌﾟﾚｾﾞﾝｽEB", "HGP創英ﾌﾟﾚｾﾞﾝｽEB", "HGS創英ﾌﾟﾚｾﾞﾝｽEB",
    /* 120 */ "OCRB", "Sydnie", "",
};

static_assert(std::size(kFontNames) == FONT_NAME_COUNT);

const char* const kTexts[] = {
    "ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア",             // 0..4
    "スコア", "残り時間", "クリア時間", "残りHP", "残りSP",                   // 5..9: ranking captions
    "ステージに挑む", "やっぱりやめる",                                        // 10, 11: world map
    "セーブする", "やっぱりやめる",                                            // 12, 13: save slots
    "オートセーブＯＮ", "オートセーブＯＦＦ",                                  // 14, 15
    "保存先が不明です！一度は「セーブ」して下さい！",                          // 16
    "タイトルへ戻る", "やっぱりやめる",                                        // 17, 18
    "しゅうりょう", "つづける", "リトライ",                                    // 19..21: pause menu
    "リトライ", "マップへ戻る",                                                // 22, 23: retry menu
    "Vキーでジャンルの切り替え",                                               // 24
    "スペースキーでタイトルへ戻る", "スペースキーで終了",                      // 25, 26
    "F3キーでランキングへ登録",                                                // 27
};

const char* const kTitleMenu[] = {"はじめから", "つづきから", "チャレンジ", "フリー",
                                  "リプレイ", "オプション", "しゅうりょう"};
const char* const kMapMenu[] = {"セーブ", "オートセーブ", "もどる", "タイトルへ"};
const char* const kOptionMenu[] = {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""};
const char* const kRankingEntryModes[] = {"手動登録（登録名入力）", "手動登録（登録名固定）",
                                          "自動登録（登録名入力）", "自動登録（登録名固定）"};
const char* const kStatusLabels[] = {"スコア", "スコア", "HP", "SP", "人"};
static_assert(std::size(kTexts) == 28 && std::size(kTitleMenu) == 7 && std::size(kMapMenu) == 4 &&
              std::size(kOptionMenu) == 6 && std::size(kRankingEntryModes) == 4 &&
              std::size(kStatusLabels) == 5);

template <size_t N>
cVector<std::string> ToSjis(const char* const (&utf8)[N]) {
  cVector<std::string> out;
  for (const char* s : utf8) out.push_back(plat::Utf8ToCp932(s));
  return out;
}

SYSTEMDEFAULTTEXTS BuildDefaultTexts() {
  SYSTEMDEFAULTTEXTS t;
  t.vTexts = ToSjis(kTexts);
  t.vTitleMenu = ToSjis(kTitleMenu);
  t.vMapMenu = ToSjis(kMapMenu);
  t.vOptionMenu = ToSjis(kOptionMenu);
  t.vRankingEntryModes = ToSjis(kRankingEntryModes);
  t.vStatusLabels = ToSjis(kStatusLabels);
  t.strAutoSaveEntry = t.vMapMenu[1];
  t.strAutoSaveOn = t.vTexts[14];
  t.strAutoSaveOff = t.vTexts[15];
  t.strNoSaveSlot = t.vTexts[16];
  t.strHpLeft = t.vTexts[8];
  t.strSpLeft = t.vTexts[9];
  t.strRetry = t.vTexts[22];
  t.strBackToMap = t.vTexts[23];
  return t;
}

}  // namespace

const cVector<std::string>& FontNameTable() {
  static const cVector<std::string> table = ToSjis(kFontNames);
  return table;
}

const char* GetFontName(int index) {
  const cVector<std::string>& table = FontNameTable();
  if (index < 0 || index >= table.Size()) index = DEFAULT_FONT;
  return table[index].c_str();
}

const SYSTEMDEFAULTTEXTS& SystemDefaultTexts() {
  static const SYSTEMDEFAULTTEXTS texts = BuildDefaultTexts();
  return texts;
}
