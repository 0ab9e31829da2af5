#include "key_setter_labels.h"

namespace lwp::cks {

namespace {

const char *const kEnglishLabels[kKeySetterLabelCount] = {
    "",        "",           "",         "",         "~ ",   "+",        "x",         "F",         "Num",
    "Step",    "",           "Null",     "Mesh",     "Bone", "Light",    "Camera",    "Position",  "X",
    "Y",       "Z",          "Rotation", "H",        "P",    "B",        "Scale",     "X",         "Y",
    "Z",       "Misc",       "Morph",    "Dissolve", "  0",  "100",      "",          "Key Shape", "",
    "Tension", "Continuity", "Bias",     "",         "O K",  "Cancel",   "Undo",      "Redo",      "Behavior",
    "Pre",     "Post",       "Copy",     "Paste",    "",     "PoseClip", "Character", "Clone",     "ClipSet"};

const char *const kJapaneseLabels[kKeySetterLabelCount] = {
    "",         "",         "",           "",         "～ ",    "+",          "x",
    "F",        "数",       "Step",       "",         "Null",   "メッシュ",   "ボーン",
    "ライト",   "カメラ",   "位置",       "X",        "Y",      "Z",          "回転",
    "H",        "P",        "B",          "スケール", "X",      "Y",          "Z",
    "その他",   "モーフ",   "ディゾルブ", "  0",      "100",    "",           "キー形状",
    "",         "張力",     "連続性",     "傾斜",     "",       "O K",        "キャンセル",
    "アンドゥ", "リドゥ",   "振る舞い",   "前",       "後",     "値のコピー", "値の貼り付け",
    "",         "PoseClip", "Character",  "Clone",    "ClipSet"};

const char *const kEnglishOperations[] = {"Create Key", "Move",       "Scale",        "Copy",
                                          "Bake",       "Delete Key", "Delete Range", nullptr};
const char *const kJapaneseOperations[] = {"キー作成", "移動",     "スケール", "コピー",
                                           "ベイク",   "キー削除", "範囲削除", nullptr};
const char *const kEnglishScopes[] = {"Select Item", "Select Item + Children", "All Item", nullptr};
const char *const kJapaneseScopes[] = {"選択アイテム", "選択アイテムと子孫", "全部のアイテム", nullptr};
// The same icons in both languages; 0x03 marks an icon label.
const char *const kFoldArrows[] = {"\x03(i:MIMG_RIGHTARROW)", "\x03(i:MIMG_DOWNARROW)", nullptr};
const char *const kEnglishShapes[] = {"TCB Spline", "Hermite Spline", "Bezier Spline", "Linear", "Stepped", nullptr};
const char *const kJapaneseShapes[] = {"TCB曲線", "Hermite曲線", "Bezier曲線", "直線", "ステップ状", nullptr};
const char *const kEnglishBehaviors[] = {"As is",     "Reset",         "Constant", "Repeat",
                                         "Oscillate", "Offset Repeat", "Linear",   nullptr};
const char *const kJapaneseBehaviors[] = {"そのまま", "リセット",         "定数", "反復",
                                          "振幅",     "反復のオフセット", "直線", nullptr};

}  // namespace

LabelUnit &keySetterLabels() {
  static const LanguageTables english{
      kEnglishLabels,
      kKeySetterLabelCount,
      nullptr,
      0,
      {kEnglishOperations, kEnglishScopes, kFoldArrows, kEnglishShapes, kEnglishBehaviors, kEnglishBehaviors}};
  static const LanguageTables japanese{
      kJapaneseLabels,
      kKeySetterLabelCount,
      nullptr,
      0,
      {kJapaneseOperations, kJapaneseScopes, kFoldArrows, kJapaneseShapes, kJapaneseBehaviors, kJapaneseBehaviors}};
  static LabelUnit unit(english, japanese);
  return unit;
}

}  // namespace lwp::cks
