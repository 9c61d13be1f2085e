#include "model/address_record.h"

#include "model/address_book.h"
#include "model/app_error.h"

using namespace Qt::Literals::StringLiterals;

const std::array<QString, FieldCount> &FieldCaptions()
{
    static const std::array<QString, FieldCount> captions = {
        u"氏名"_s, u"電話番号"_s, u"メールアドレス"_s, u"〒"_s,
        u"住所1"_s, u"住所2"_s, u"一言メモ"_s,
    };
    return captions;
}

Cls_住所::Cls_住所(const Cls_住所 &other)
    : PName(other.PName), PTel(other.PTel), PMail(other.PMail), PYubin(other.PYubin),
      PJu1(other.PJu1), PJu2(other.PJu2), PMemo(other.PMemo), PSkey(other.PSkey),
      m_owner(other.m_owner)
{
}

Cls_住所 &Cls_住所::operator=(const Cls_住所 &other)
{
    if (this != &other) {
        for (int i = 0; i < FieldCount; ++i)
            field(Field(i)) = other.field(Field(i));
        PSkey = other.PSkey;
        m_owner = other.m_owner;
    }
    return *this;
}

Cls_住所::~Cls_住所() = default;

Cls_管理 &Cls_住所::管理()
{
    if (m_owner)
        return *m_owner;
    if (!m_ownCollection)
        m_ownCollection = std::make_unique<Cls_管理>();
    return *m_ownCollection;
}

QString &Cls_住所::field(Field f)
{
    switch (f) {
    case Field::Name: return PName;
    case Field::Tel: return PTel;
    case Field::Mail: return PMail;
    case Field::Yubin: return PYubin;
    case Field::Ju1: return PJu1;
    case Field::Ju2: return PJu2;
    case Field::Memo: break;
    }
    return PMemo;
}

const QString &Cls_住所::field(Field f) const
{
    return const_cast<Cls_住所 *>(this)->field(f);
}

QString Cls_住所::GetRecord() const
{
    QString line;
    line.reserve(PName.size() + PTel.size() + PMail.size() + PYubin.size() + PJu1.size()
                 + PJu2.size() + PMemo.size() + 6);
    line += PName;
    for (int i = 1; i < FieldCount; ++i) {
        line += u',';
        line += field(Field(i));
    }
    return line;
}

// Each comma ends a field; the first six fields take what precedes their
// comma, and the text after the last comma reaches the memo only when the
// line holds exactly six commas. Fields the line does not reach keep their
// values, so a text without a comma changes nothing.
void Cls_住所::SetRecord(const QString &line)
{
    if (line.size() > 32767)
        throw AppError(u"貼り付ける文字列が長すぎます（32767文字まで）。"_s);

    int j = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != u',')
            continue;
        if (j <= 6)
            field(Field(j - 1)) = line.mid(start, i - start);
        start = i + 1;
        ++j;
    }
    if (j == 7)
        PMemo = line.mid(start);
}

bool Cls_住所::sameFields(const Cls_住所 &other) const
{
    for (int i = 0; i < FieldCount; ++i) {
        if (field(Field(i)) != other.field(Field(i)))
            return false;
    }
    return true;
}
