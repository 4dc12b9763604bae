#pragma once

#include "core/patches/rows.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tess {
class Session;
struct RowState;
struct PatchRowState;
}  // namespace tess

class QComboBox;
class QFrame;
class QLabel;
class QObject;
class QVBoxLayout;
class QWidget;

// Which row of the list a row is, as the model tells it.
enum class RowKind { Fonts, Dxvk, AllPatches, Patch };

// What a row needs of the window: the session it shows and drives, the
// list its widgets live in, the object that filters its combo box's clicks,
// and the language code that picks its face.
struct RowContext {
    tess::Session *session = nullptr;
    QWidget *list = nullptr;
    QObject *clickFilter = nullptr;
    QString locale;
};

// One row of the option list: a gold title over a read-only combo box.
// Not a widget itself: it builds its widgets in the list, which places
// `frame`. A pick on the box becomes the session's change; the window shows
// the session's rows afterwards.
class StaticItem
{
public:
    StaticItem(const RowContext &context, RowKind kind, const tess::RowTitle &title, const QStringList &choices);
    virtual ~StaticItem();

    StaticItem(const StaticItem &) = delete;
    StaticItem &operator=(const StaticItem &) = delete;

    RowKind kind() const { return kind_; }
    // 0 shows the row switched off (greyed), anything else enabled.
    void set_active(int mode);
    // Shows the choice a row's state names.
    void show_state(const tess::RowState &state);
    // Shows what the session holds for this row.
    virtual void show_session_state();
    // The same before anything may follow a pick: no handler runs for it.
    void show_first_state();

    QString fontsize;
    QString name;
    QString fontfile;
    QString fontweight;
    QFrame *frame = nullptr;
    QVBoxLayout *verticalLayout = nullptr;
    QLabel *label = nullptr;
    QComboBox *comboBox = nullptr;
    // The all-patches row's warning sign, made by the window beside it.
    QLabel *sign = nullptr;
    // The renames the row's last change could not make, on the warning sign
    // beside its box; empty clears it.
    void show_failure(const QString &text);
    // Made beside the box the first time the row has something to warn of.
    QLabel *warningSign = nullptr;

protected:
    tess::Session &session() const { return *context_.session; }
    // What the warning sign's tooltip says; it shows while there is any.
    virtual QStringList warning_lines() const;
    void update_warning_sign();
    // Shows "???" with no item selected.
    void show_unknown();

private:
    void construct(const QStringList &choices);
    void perform_fixed_action(int index);

    RowContext context_;
    RowKind kind_;
    QString failure_;
};

// Blocks the signals of every object below `list` for as long as it lives,
// so that rows set from code start no handler; gives them back on every way out.
class [[nodiscard]] ListSignalBlocker
{
public:
    explicit ListSignalBlocker(QObject *list);
    ~ListSignalBlocker();
    ListSignalBlocker(const ListSignalBlocker &) = delete;
    ListSignalBlocker &operator=(const ListSignalBlocker &) = delete;

private:
    QObject *list_;
};

// The row of one switchable patch: shows which choice its files match and
// whether its conditions hold, and switches them through the session.
class DynamicItem : public StaticItem
{
public:
    DynamicItem(const RowContext &context, const tess::PatchRow &row);

    const QString &key() const { return key_; }
    void perform_action(int index);
    // Shows the row's state: its choice, enabled or not, and why not.
    void show_session_state() override;

    // The archive check's lines for this patch's files; the warning sign
    // shows while there are any, and the box's tooltip carries them below
    // its hints.
    void show_archive_problems(const QStringList &lines);
    QString tooltip_with_archives(const QString &hints) const;
    QStringList archiveLines;

protected:
    QStringList warning_lines() const override;

private:
    const tess::PatchRowState *state() const;

    QString key_;
};
