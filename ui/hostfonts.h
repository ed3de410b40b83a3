#pragma once

#include <QStringList>

namespace marlovin {

// Keeps the host's own copies of the built-in families from being chosen over the built-in faces,
// where the platform's font matching could do that. Before the built-in faces are registered.
void HideHostCopies(const QStringList& families);

}  // namespace marlovin
