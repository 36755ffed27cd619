# Qt backends (QSettings profile store).
