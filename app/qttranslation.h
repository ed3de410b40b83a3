#pragma once

namespace marlovin {

// Installs Qt's own German texts (key names such as "Strg+N" beside a menu item, the toolkit's
// dialog texts) for the running application, whatever the system locale says, so they match the
// German interface. Returns false, leaving Qt's English defaults, when the translation is not
// installed. Needs the application object.
bool InstallQtGermanTexts();

}  // namespace marlovin
