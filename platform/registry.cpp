#include "platform/registry.h"

#include "platform/hive.h"
#include "platform/vb_error.h"

#include <QHash>

#include <cstring>
#include <mutex>

namespace platform {

namespace {

struct LoadedHive {
    Hive hive;
    QByteArray file;
};

// A handle names a key by its path, not by anything inside the hive, so it stays good while values
// and keys are added. Keys are never deleted, so an open key always exists.
struct OpenKey {
    HKEY root;
    QString path;
};

struct Registry {
    std::optional<LoadedHive> system;
    std::optional<LoadedHive> user;
    QHash<HKEY, OpenKey> handles;
    // Handed out once each, so a closed handle never becomes valid again. Counting from 1 stays
    // below the root constants (0x80000001...) for two thousand million opens.
    HKEY nextHandle = 1;
};

std::mutex g_mutex;
Registry g_registry;

std::optional<LoadedHive>& HiveOf(HKEY root) {
    return root == HKEY_LOCAL_MACHINE ? g_registry.system : g_registry.user;
}

std::optional<OpenKey> Resolve(HKEY key) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return OpenKey{key, QString()};
    const auto found = g_registry.handles.constFind(key);
    if (found == g_registry.handles.cend()) return std::nullopt;
    return *found;
}

// What the A function hands out: strings in the ANSI code page (UTF-8) with their NUL, the rest as
// the registry holds it.
QByteArray AnsiData(const HiveValue& value) {
    switch (value.type) {
    case REG_SZ: return value.text.toUtf8() + '\0';
    case REG_EXPAND_SZ: {
        QString text = DecodeUtf16Le(value.data);
        if (text.endsWith(QChar(0))) text.chop(1);
        return text.toUtf8() + '\0';
    }
    case REG_MULTI_SZ: return DecodeUtf16Le(value.data).toUtf8();  // its NULs are the list's separators
    default: return value.data;
    }
}

}  // namespace

int32_t RegOpenKeyA(HKEY root, const char* subKey, HKEY* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = 0;
    std::lock_guard<std::mutex> lock(g_mutex);
    const std::optional<OpenKey> base = Resolve(root);
    if (!base) return ERROR_INVALID_HANDLE;
    QString sub = subKey ? QString::fromUtf8(subKey, qsizetype(std::strlen(subKey))) : QString();
    if (sub.endsWith(u'\\')) sub.chop(1);  // "Software\" opens Software
    const QString path = base->path.isEmpty() ? sub : sub.isEmpty() ? base->path : base->path + u'\\' + sub;
    const std::optional<LoadedHive>& loaded = HiveOf(base->root);
    if (!loaded || !loaded->hive.HasKey(path)) return ERROR_FILE_NOT_FOUND;
    const HKEY handle = g_registry.nextHandle++;
    g_registry.handles.insert(handle, OpenKey{base->root, path});
    *result = handle;
    return ERROR_SUCCESS;
}

int32_t RegQueryValueExA(HKEY key, const char* valueName, uint32_t* reserved, uint32_t* type, unsigned char* data,
                         uint32_t* size) {
    if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(g_mutex);
    const std::optional<OpenKey> open = Resolve(key);
    if (!open) return ERROR_INVALID_HANDLE;
    const std::optional<LoadedHive>& loaded = HiveOf(open->root);
    const QString name = valueName ? QString::fromUtf8(valueName, qsizetype(std::strlen(valueName))) : QString();
    const HiveValue* value = loaded ? loaded->hive.FindValue(open->path, name) : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;
    const QByteArray bytes = AnsiData(*value);
    const auto needed = uint32_t(bytes.size());
    if (type) *type = value->type;
    if (!data) {
        if (size) *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, bytes.constData(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

int32_t RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_registry.handles.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void LoadRegistry(const QByteArray& systemHiveFile, const QByteArray& userHiveFile) {
    Hive system = ReadHiveFile(HKEY_LOCAL_MACHINE, systemHiveFile);
    Hive user = ReadHiveFile(HKEY_CURRENT_USER, userHiveFile);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_registry.system = LoadedHive{std::move(system), systemHiveFile};
    g_registry.user = LoadedHive{std::move(user), userHiveFile};
    g_registry.handles.clear();
}

void UnloadRegistry() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_registry.system.reset();
    g_registry.user.reset();
    g_registry.handles.clear();
}

std::optional<QString> RegistryGetString(HKEY root, const QString& keyPath, const QString& valueName) {
    if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE) return std::nullopt;
    std::lock_guard<std::mutex> lock(g_mutex);
    const std::optional<LoadedHive>& loaded = HiveOf(root);
    const HiveValue* value = loaded ? loaded->hive.FindValue(keyPath, valueName) : nullptr;
    if (!value || value->type != REG_SZ) return std::nullopt;
    return value->text;
}

void RegistrySetString(HKEY root, const QString& keyPath, const QString& valueName, const QString& value) {
    if ((root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE) || !IsValidKeyPath(keyPath) ||
        !IsValidValueName(valueName))
        Raise(kInvalidProcedureCall, keyPath);
    std::lock_guard<std::mutex> lock(g_mutex);
    std::optional<LoadedHive>& loaded = HiveOf(root);
    if (!loaded) Raise(kInvalidProcedureCall, QStringLiteral("registry not loaded"));
    // The change is made on a copy that replaces the hive only once it is on disk, so a failed write
    // leaves memory agreeing with the file.
    Hive changed = loaded->hive;
    changed.SetValue(keyPath, HiveValue{valueName, REG_SZ, value, {}});
    WriteHiveFile(changed, loaded->file);
    loaded->hive = std::move(changed);
}

}  // namespace platform
