#pragma once

#include <QString>
#include <array>
#include <memory>

class Cls_管理;

// The seven stored fields in file order; PSkey is not one of them.
enum class Field { Name, Tel, Mail, Yubin, Ju1, Ju2, Memo };
inline constexpr int FieldCount = 7;

// Captions shared by the file header, the list columns, the search field list,
// the printouts and the entry labels.
const std::array<QString, FieldCount> &FieldCaptions();

// One entry of the address book.
class Cls_住所 {
public:
    Cls_住所() = default;
    Cls_住所(const Cls_住所 &other);
    Cls_住所 &operator=(const Cls_住所 &other);
    ~Cls_住所();

    QString PName, PTel, PMail, PYubin, PJu1, PJu2, PMemo;
    QString PSkey;

    // The collection the record was added to. A record that was never added
    // gets an empty collection of its own, the same one on every read.
    Cls_管理 &管理();
    bool has管理() const { return m_owner != nullptr; }

    QString &field(Field f);
    const QString &field(Field f) const;

    // The seven fields joined by commas, unquoted, without a line end.
    QString GetRecord() const;
    // Fills the fields a comma-joined line reaches; see the .cpp for the rule.
    void SetRecord(const QString &line);

    bool sameFields(const Cls_住所 &other) const;

private:
    friend class Cls_管理;
    Cls_管理 *m_owner = nullptr;                 // non-owning
    std::unique_ptr<Cls_管理> m_ownCollection;   // made on demand for a lone record
};
