#include "desktop/file_associations.h"

#ifdef Q_OS_WIN
#include "desktop/file_associations_registry.h"
#else
#include "desktop/file_associations_xdg.h"
#endif

namespace quillet {

std::unique_ptr<FileAssociations> CreateFileAssociations(const QString& program_path) {
#ifdef Q_OS_WIN
  return RegistryFileAssociations::ForCurrentUser(program_path);
#else
  return std::make_unique<XdgFileAssociations>(XdgDirs::FromEnvironment(), program_path);
#endif
}

}  // namespace quillet
