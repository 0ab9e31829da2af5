#include "save_labels.h"

namespace lwp::akio {

namespace {

const char *const kEnglishLabels[kSaveLabelCount] = {"Target Items",  "Null",         "Mesh",     "Bone",
                                                     "Light",         "Camera",       "Position", "Rotation",
                                                     "Scale",         "Morph",        "Misc",     "Shcema Position",
                                                     "Preview Range", "Render Range", "",         "Save"};

const char *const kJapaneseLabels[kSaveLabelCount] = {
    "対象アイテム", "Null",   "メッシュ", "ボーン",     "ライト",      "カメラ",     "位置", "回転",
    "スケール",     "モーフ", "その他",   "Schema位置", "Preview範囲", "Render範囲", "",     "Save"};

const char *const kEnglishMessages[kSaveMessageCount] = {"Failed to save !", "Start frame is less than end frame !",
                                                         "No animetion data !", "Failed to load file !(%s)",
                                                         "Failed to save file !(%s)"};

const char *const kJapaneseMessages[kSaveMessageCount] = {
    "操作を失敗しました !", "スタートフレームがエンドフレームより大です !", "アニメーションデータがありません !",
    "ファイルの読み込みに失敗しました !(%s)", "ファイルの書き込みに失敗しました !(%s)"};

const char *const kEnglishTargets[] = {"None", "Select Item", "Select Item + Children", "All Item", nullptr};
const char *const kJapaneseTargets[] = {"なし", "選択アイテム", "選択アイテムと子孫", "全部のアイテム", nullptr};

}  // namespace

LabelUnit &saveLabels() {
  static const LanguageTables english{
      kEnglishLabels, kSaveLabelCount, kEnglishMessages, kSaveMessageCount, {kEnglishTargets}};
  static const LanguageTables japanese{
      kJapaneseLabels, kSaveLabelCount, kJapaneseMessages, kSaveMessageCount, {kJapaneseTargets}};
  static LabelUnit unit(english, japanese);
  return unit;
}

}  // namespace lwp::akio
