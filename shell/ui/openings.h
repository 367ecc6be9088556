// Once per opening and once per closing of a window.
#pragma once

#include <QHideEvent>
#include <QShowEvent>

namespace zel {

// Minimising and restoring send the window show and hide events of their own
// (spontaneous ones, from the window system); they neither open nor close it.
// A window's opening steps (reading its file, adding a record, remembering a
// setting) run when opens() says so, its closing steps when closes() does.
class Openings {
public:
    bool opens(const QShowEvent* event)
    {
        if (event->spontaneous() || m_open)
            return false;
        m_open = true;
        return true;
    }
    bool closes(const QHideEvent* event)
    {
        if (event->spontaneous() || !m_open)
            return false;
        m_open = false;
        return true;
    }

private:
    bool m_open = false;
};

} // namespace zel
