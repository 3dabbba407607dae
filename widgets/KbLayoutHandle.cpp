#include "widgets/KbLayoutHandle.h"

#include "platform/KeyboardLayouts.h"
#include "widgets/KBAwareComboBox.h"
#include "widgets/KBAwareEdit.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {

constexpr const char *LayoutProperty = "KbLayout";

// Layouts handed out as handles; handle n stands for entry n - 1.
struct THandles
{
    std::mutex lock;
    std::vector<KbLayout> layouts;
};

THandles &Handles()
{
    static THandles handles;
    return handles;
}

} // namespace

TKbLayoutHandle KbLayoutHandle(const KbLayout &layout)
{
    if (layout.empty() || layout == KbLayouts::StartupLayout())
        return 0;
    THandles &handles = Handles();
    std::lock_guard guard(handles.lock);
    auto found = std::find(handles.layouts.begin(), handles.layouts.end(), layout);
    if (found == handles.layouts.end())
        found = handles.layouts.insert(handles.layouts.end(), layout);
    return static_cast<TKbLayoutHandle>(found - handles.layouts.begin()) + 1;
}

KbLayout KbLayoutOfHandle(TKbLayoutHandle handle)
{
    THandles &handles = Handles();
    {
        std::lock_guard guard(handles.lock);
        if (handle >= 1 && static_cast<size_t>(handle) <= handles.layouts.size())
            return handles.layouts[static_cast<size_t>(handle - 1)];
    }
    return KbLayouts::StartupLayout();
}

void SetKbLayout(QWidget &edit, TKbLayoutHandle layout)
{
    if (auto *aware = qobject_cast<TKBAwareEdit *>(&edit)) {
        aware->SetKbLayout(layout);
        return;
    }
    edit.setProperty(LayoutProperty, QVariant::fromValue<qint64>(layout));
}

TKbLayoutHandle KbLayoutOf(const QWidget &edit)
{
    if (const auto *aware = qobject_cast<const TKBAwareEdit *>(&edit))
        return KbLayoutHandle(aware->GetKbLayout());
    if (const auto *combo = qobject_cast<const TKBAwareComboBox *>(&edit))
        return KbLayoutHandle(combo->GetKbLayout());
    return static_cast<TKbLayoutHandle>(edit.property(LayoutProperty).value<qint64>());
}

void FollowDesktopLayoutSwitches()
{
    static bool following = false;
    if (std::exchange(following, true))
        return;
    KbLayouts::SetDesktopSwitchHandler([](const KbLayout &layout) {
        QWidget *focus = QApplication::focusWidget();
        if (auto *edit = qobject_cast<TKBAwareEdit *>(focus))
            edit->requestKbLayout(layout);
        else if (auto *combo = qobject_cast<TKBAwareComboBox *>(focus))
            combo->requestKbLayout(layout);
    });
}
