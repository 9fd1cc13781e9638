#include "controls/CIconMenu.h"

#include "controls/IconMenuWidget.h"
#include "res/MenuTemplate.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>

CIconMenu::CIconMenu(MenuLook look) : look_(look) {}

CIconMenu::~CIconMenu()
{
    DestroyMenu();
}

void CIconMenu::SetIconMaskColor(const QColor& colour)
{
    m_clrIconMask = colour;
    m_bIconMaskSet = true;
}

void CIconMenu::CreateMenu()
{
    menu_ = std::make_unique<IconMenuWidget>(*this);
}

void CIconMenu::DestroyMenu()
{
    // The menu first: its actions refer to the records and pop-ups freed after it.
    menu_.reset();
    m_aSubMenus.clear();
    m_aItems.clear();
}

int CIconMenu::LoadMenu(int resourceId)
{
    const QList<MenuTemplateItem> items = MenuResource(resourceId);
    if (items.isEmpty())
        return 0;
    DestroyMenu();
    CreateMenu();

    // The levels under construction; a level ends after its item marked End, and a pop-up
    // item marked End ends its own level only once the pop-up's level has ended.
    struct Level {
        CIconMenu* menu;
        bool ended;
    };
    std::vector<Level> levels{{this, false}};
    for (const MenuTemplateItem& item : items) {
        if (levels.empty())
            break;
        const uint32_t flags = item.flags & ~MenuFlag::End;
        const bool last = (item.flags & MenuFlag::End) != 0;
        Level& level = levels.back();
        if (flags & MenuFlag::Popup) {
            auto subMenu = std::make_unique<CIconMenu>(look_);
            subMenu->CreateMenu();
            CIconMenu* opened = subMenu.get();
            level.menu->AppendOwnerDrawnItem(item.text, flags, 0, std::move(subMenu));
            level.ended = last;
            levels.push_back({opened, false});
            continue;
        }
        level.menu->AppendOwnerDrawnItem(item.text, flags, item.id);
        level.ended = last;
        while (!levels.empty() && levels.back().ended) {
            levels.back().menu->AlignTabs();
            levels.pop_back();
        }
    }

    // Only the pop-ups are owner-drawn; this level is a plain menu bar of them.
    for (int position = 0; position < menu_->actions().size(); ++position)
        MakePlain(position);
    return 1;
}

bool CIconMenu::AppendOwnerDrawnItem(const QString& text, uint32_t flags, uint32_t id,
                                     std::unique_ptr<CIconMenu> subMenu)
{
    if (!menu_ || (subMenu && !subMenu->menu_))
        return false;
    const bool separator = !subMenu && id == 0;
    flags = separator ? MenuFlag::Separator | MenuFlag::OwnerDraw : flags | MenuFlag::OwnerDraw;

    // Qt would widen the menu by the part after a tab once more; the measurement counts it.
    const QString shown = text.section(QLatin1Char('\t'), 0, 0);
    QAction* action = nullptr;
    if (subMenu) {
        subMenu->menu_->setTitle(shown);
        action = menu_->addMenu(subMenu->menu_.get());
        m_aSubMenus.push_back(std::move(subMenu));
    } else if (separator) {
        action = menu_->addSeparator();
    } else {
        action = menu_->addAction(shown);
    }
    m_aItems.push_back(std::make_unique<MenuItemData>(MenuItemData{text, FindSharedIcon(id), flags, id}));
    action->setData(static_cast<int>(m_aItems.size() - 1));
    return true;
}

void CIconMenu::MakePlain(int position)
{
    menu_->actions().at(position)->setData(QVariant());
}

void CIconMenu::AlignTabs()
{
    const QFontMetrics metrics(menu_->font());
    int widest = 0;
    for (const auto& item : m_aItems)
        widest = std::max(widest,
                          metrics.horizontalAdvance(item->pszText.section(QLatin1Char('\t'), 0, 0) + QLatin1Char(' ')));
    for (const auto& item : m_aItems) {
        const qsizetype tab = item->pszText.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        QString head = item->pszText.left(tab);
        while (metrics.horizontalAdvance(head) < widest)
            head += QLatin1Char(' ');
        item->pszText = head + item->pszText.mid(tab);
    }
}

CIconMenu* CIconMenu::GetSubMenu(int position) const
{
    if (!menu_ || position < 0 || position >= menu_->actions().size())
        return nullptr;
    const auto* subMenu = qobject_cast<IconMenuWidget*>(menu_->actions().at(position)->menu());
    return subMenu ? &subMenu->owner() : nullptr;
}

MenuItemData* CIconMenu::RecordAt(int position) const
{
    if (!menu_ || position < 0 || position >= menu_->actions().size())
        return nullptr;
    bool ok = false;
    const int index = menu_->actions().at(position)->data().toInt(&ok);
    return ok && index >= 0 && index < static_cast<int>(m_aItems.size()) ? m_aItems[index].get() : nullptr;
}

const MenuItemData* CIconMenu::ItemAt(int position) const
{
    return RecordAt(position);
}

const MenuItemData* CIconMenu::ItemOf(const QAction* action) const
{
    return menu_ && action ? RecordAt(static_cast<int>(menu_->actions().indexOf(action))) : nullptr;
}

uint32_t CIconMenu::CommandOf(const QAction* action)
{
    const auto* menu = qobject_cast<const IconMenuWidget*>(action ? action->parent() : nullptr);
    const MenuItemData* item = menu ? menu->owner().ItemOf(action) : nullptr;
    return item ? item->nID : 0;
}

QPalette CIconMenu::Palette() const
{
    return menu_ ? menu_->palette() : QApplication::palette("QMenu");
}
