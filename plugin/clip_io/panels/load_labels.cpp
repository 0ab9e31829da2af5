#include "load_labels.h"

namespace lwp::akio {

namespace {

const char *const kEnglishLabels[kLoadLabelCount] = {"Info",
                                                     "",
                                                     "File Open...",
                                                     "Dir Open...",
                                                     "Start",
                                                     "End",
                                                     "Fps",
                                                     "Adjust Base Pose",
                                                     "Adjust Scale",
                                                     "Target Items",
                                                     "Null",
                                                     "Mesh",
                                                     "Bone",
                                                     "Light",
                                                     "Camera",
                                                     "Position",
                                                     "Rotation",
                                                     "Scale",
                                                     "Morph",
                                                     "Misc",
                                                     "Shcema Position",
                                                     "Preview Range",
                                                     "Render Range",
                                                     "Load Range",
                                                     "Start",
                                                     "End",
                                                     "Insert Position",
                                                     "Frame",
                                                     "Destination Item Key",
                                                     "Start",
                                                     "End",
                                                     "Check Full Path",
                                                     "",
                                                     "Item Name Convert",
                                                     "",
                                                     "",
                                                     "",
                                                     "",
                                                     "",
                                                     "",
                                                     "",
                                                     "Load"};

const char *const kJapaneseLabels[kLoadLabelCount] = {"    情報",
                                                      "",
                                                      "Fileを開く...",
                                                      "Dirを開く...",
                                                      "Start",
                                                      "End",
                                                      "Fps",
                                                      "初期ポーズの差を補正",
                                                      "キャラクタスケールの補正",
                                                      "対象アイテム",
                                                      "Null",
                                                      "メッシュ",
                                                      "ボーン",
                                                      "ライト",
                                                      "カメラ",
                                                      "位置",
                                                      "回転",
                                                      "スケール",
                                                      "モーフ",
                                                      "その他",
                                                      "Shcema位置",
                                                      "Preview範囲",
                                                      "Render範囲",
                                                      "読込み範囲",
                                                      "Start",
                                                      "End",
                                                      "挿入位置",
                                                      "ﾌﾚｰﾑ数",
                                                      "読込み先アイテムのキー",
                                                      "Start",
                                                      "End",
                                                      "フルパス名",
                                                      "",
                                                      "アイテム名変換",
                                                      "",
                                                      "",
                                                      "",
                                                      "",
                                                      "",
                                                      "",
                                                      "",
                                                      "Load"};

const char *const kEnglishMessages[kLoadMessageCount] = {"Failed to load !",
                                                         "Invalid regular expression !(%s) %s",
                                                         "Skipped keys without a finite time or value !(%s)",
                                                         "Keys the host refused to create !(%s)",
                                                         "Some files were not loaded !",
                                                         "No item matched the clip !"};
const char *const kJapaneseMessages[kLoadMessageCount] = {"失敗しました !",
                                                          "正規表現が正しくありません !(%s) %s",
                                                          "時間か値が有限の数でないキーを飛ばしました !(%s)",
                                                          "ホストが作成を拒否したキーがあります !(%s)",
                                                          "読み込めなかったファイルがあります !",
                                                          "クリップに一致するアイテムがありません !"};

const char *const kEnglishTargets[] = {"None", "Select Item", "Select Item + Children", "All Item", nullptr};
const char *const kJapaneseTargets[] = {"なし", "選択アイテム", "選択アイテムと子孫", "全部のアイテム", nullptr};
const char *const kEnglishNameConvert[] = {"No Convert", "Prefix", "Suffix", "Replace", "Regular Expression", nullptr};
const char *const kJapaneseNameConvert[] = {"無変換", "接頭辞", "接尾辞", "置き換え", "置き換え(正規表現)", nullptr};
const char *const kEnglishDeletion[] = {"No Delete", "Delete Range", "Delete All", nullptr};
const char *const kJapaneseDeletion[] = {"削除しない", "指定範囲を削除", "全て削除", nullptr};

}  // namespace

LabelUnit &loadLabels() {
  static const LanguageTables english{kEnglishLabels,
                                      kLoadLabelCount,
                                      kEnglishMessages,
                                      kLoadMessageCount,
                                      {kEnglishTargets, kEnglishNameConvert, kEnglishDeletion}};
  static const LanguageTables japanese{kJapaneseLabels,
                                       kLoadLabelCount,
                                       kJapaneseMessages,
                                       kLoadMessageCount,
                                       {kJapaneseTargets, kJapaneseNameConvert, kJapaneseDeletion}};
  static LabelUnit unit(english, japanese);
  return unit;
}

}  // namespace lwp::akio
