#pragma once
// The fixed texts of the data editing window: item lists, choice groups and messages.

#include <array>
#include <string_view>

namespace velmora {

// Item lists of the horse pages.
inline constexpr std::array<std::u16string_view, 4> kMotikomiItems { u"有り", u"無し", u"自家", u"他家" };
inline constexpr std::array<std::u16string_view, 5> kBirthItems { u"内国", u"　　", u"外国", u"自家", u"配信" };
// The distance boxes: "0", then 1000..3400 (from) and 1200..3600 (to) in steps of 200.
inline constexpr int kDistanceStep = 200;
inline constexpr int kDistanceFromFirst = 1000;
inline constexpr int kDistanceFromLast = 3400;
inline constexpr int kDistanceToFirst = 1200;
inline constexpr int kDistanceToLast = 3600;

// The stallion page's choice groups, in the order of HorseForm::choices.
enum StallionChoice { kDirt, kGrow, kKisho, kKonjo, kKenko, kJisseki, kAntei, kChoiceCount };
inline constexpr std::array<std::u16string_view, 3> kDirtItems { u" ◎", u" ○", u" △" };
inline constexpr std::array<std::u16string_view, 3> kDirtValues { u"◎", u"○", u"△" };
inline constexpr std::array<std::u16string_view, 4> kGrowItems { u"早熟", u"普通", u"晩成", u"持続" };
inline constexpr std::array<std::u16string_view, 3> kGradeItems { u" A", u" B", u" C" };
inline constexpr std::array<std::u16string_view, 3> kGradeValues { u"A", u"B", u"C" };

// The input-mode group.
inline constexpr std::u16string_view kImeKana = u"ｶﾅ";
inline constexpr std::u16string_view kImeOff = u"英数(ｵﾌ)";

// Messages.
inline constexpr std::u16string_view kMsgNoName = u"名前がありません";
inline constexpr std::u16string_view kMsgRegistered = u"を登録しました";
inline constexpr std::u16string_view kMsgUpdated = u"を更新しました";
inline constexpr std::u16string_view kMsgDeleted = u"を削除しました";
inline constexpr std::u16string_view kMsgNotFound = u"削除元データが見つかりません";
inline constexpr std::u16string_view kAskDelete = u"削除しますか？";
inline constexpr std::u16string_view kMsgCrossUpdated = u"クロス効果を更新しました";
inline constexpr std::u16string_view kMsgCrossNoDelete = u"クロス効果は削除できません";
inline constexpr std::u16string_view kMsgLineAdded = u"系を追加しました";
inline constexpr std::u16string_view kMsgLineUpdated = u"系を更新しました";
inline constexpr std::u16string_view kMsgOmokeiUpdated = u"面白系統を更新しました";
inline constexpr std::u16string_view kMsgOmokeiNoDelete = u"面白系統は削除できません";
inline constexpr std::u16string_view kMsgExists = u"既存です";
inline constexpr std::u16string_view kMsgColourAdded = u"を毛色に追加しました";
// A full table refuses a new row; nothing is written.
inline constexpr std::u16string_view kMsgMamFull = u"繁殖牝馬は701頭までしか登録できません";
inline constexpr std::u16string_view kMsgDadFull = u"種牡馬は513頭までしか登録できません";
inline constexpr std::u16string_view kMsgOyaFull = u"祖先馬は3001頭までしか登録できません";
inline constexpr std::u16string_view kMsgKeitoFull = u"系統は96系統までしか登録できません";
inline constexpr std::u16string_view kMsgKeiroFull = u"毛色は4096色までしか登録できません";
// Row 0 of the sire lines stands for "no line" and is in no file: it can neither go nor be registered.
inline constexpr std::u16string_view kMsgKeitoZero = u"「未登録」は系統がないことを表すので削除できません";
inline constexpr std::u16string_view kMsgKeitoZeroRegister = u"「未登録」は系統がないことを表すので登録できません";
// Before a horse page replaces a registered horse it was not showing.
inline constexpr std::u16string_view kAskReplace = u"は登録済みの馬です。\r\n入力した内容で上書きしますか？";
// What the questions and refusals about rows still in use say.
inline constexpr std::u16string_view kAskAnyway = u"それでも削除しますか？";
inline constexpr std::u16string_view kMsgKeptInPedigrees
    = u"頭の馬の血統にあります。馬のデータには名前のまま残ります。";
inline constexpr std::u16string_view kMsgColourInUse = u"頭の馬の毛色なので削除できません";
inline constexpr std::u16string_view kMsgLineBecomesNone = u"これらの系統は「未登録」になります。";
inline constexpr std::u16string_view kMsgNoBackup = u"バックアップを作れないので、保存しませんでした: ";

} // namespace velmora
