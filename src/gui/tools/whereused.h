#pragma once

// The Where Used window: the records that name one weapon, unit or formation
// (units by weapon slot, formations by member). A double click or Return on a
// row asks for its record; refresh() looks again (after every change) while shown.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"

#include <QWidget>

class QLabel;

namespace tarnwick::gui {

class RecordTable;

class TWhereUsedForm : public QWidget {
    Q_OBJECT
public:
    explicit TWhereUsedForm(QWidget* parent = nullptr);

    // The item to look for, in data.
    void setItem(const core::TOobData* data, core::PasteKind kind, int slot);

    QLabel* WhereUsedItem = nullptr;
    RecordTable* WhereUsedTable = nullptr;

public slots:
    void refresh();

signals:
    void openRecord(core::PasteKind kind, int slot);

private:
    const core::TOobData* data_ = nullptr;
    core::PasteKind kind_ = core::PasteKind::Weapon;
    int slot_ = 0;
};

} // namespace tarnwick::gui
