#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// How printed names are addressed, in the order the print dialog offers them.
enum class HonorificMode { Sama, Dono, Onchu, Sensei, Auto, None };
inline constexpr int HonorificModeCount = 6;

// The caption of a mode as the print dialog shows it: "様", "殿", "御中", "先生", "自動", "なし".
QString HonorificModeCaption(HonorificMode mode);
// The stored number (0..5) of a mode, and back; a number out of range reads as Sama.
int HonorificModeNumber(HonorificMode mode);
HonorificMode HonorificModeFromNumber(int number);

// The honorific to print after a recipient's name: "様", "殿", "御中", "先生", or empty.
// - None, or a name of blanks only: empty.
// - A name that already ends with an honorific (様, さま, 殿, 御中, 先生, 宛, 各位) gets none.
// - Auto: "御中" for an organisation, else "様". An organisation is a name that ends with an
//   organisation word (会社, 商店, 事務所, 学校, 病院, 支店, ㈱, …; the one-character words
//   店, 部, 課, 係, 室, 会 only after two more characters of the last word, so that 阿部 or
//   氷室 stay persons), or that starts with a legal form (株式会社, 有限会社, 合同会社, 医療法人,
//   (株), …) followed by one name only: "株式会社ゆざりぼ 山田太郎" is a person at the company.
// - Sama/Dono/Onchu/Sensei: that honorific.
// Leading/trailing half- and full-width blanks of the name are ignored for these tests.
QString HonorificFor(const QString &name, HonorificMode mode);

// How many characters at the end of name are an honorific it is written
// with (様, さま, 殿, 御中, 先生, 宛, 各位), trailing blanks included; 0 for none.
qsizetype WrittenHonorificLength(const QString &name);

// A joint name (連名): a family name, one blank (half- or full-width), then given names separated
// by "・" (or the half-width "･"), e.g. "山田 太郎・花子" or "山田　太郎・花子・一郎". Nothing for
// any other shape: no blank, more than one blank (or blanks in a given name), no "・" after the
// blank, a "・" before the blank ("山田・太郎 商店"), an empty part ("山田 太郎・", "山田 ・花子"),
// or a given name that already ends with an honorific. Leading and trailing blanks of the whole
// name are ignored.
struct JointName {
    QString family;
    QStringList givenNames;   // at least two
};
std::optional<JointName> ParseJointName(const QString &name);
