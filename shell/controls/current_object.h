// Borrowing the browser's current object for a look-up.
#pragma once

#include "shell/core/pathwright.h"

namespace wordloom::shell {

// Makes an object current for a lookup and puts the previous one back afterwards, so that drawing never
// changes what a command is working on.
class CurrentObject {
public:
    CurrentObject(TPathwright* browser, const OptIDList& object)
        : m_browser(browser), m_saved(browser->GetObjectIDList()) {
        m_browser->SetObjectIDList(object);
    }
    ~CurrentObject() { m_browser->SetObjectIDList(m_saved); }
    CurrentObject(const CurrentObject&) = delete;
    CurrentObject& operator=(const CurrentObject&) = delete;

private:
    TPathwright* m_browser;
    OptIDList m_saved;
};

} // namespace wordloom::shell
