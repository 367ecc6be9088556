// The error report's texts.
#include "online/errorreport.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace zel {

QString className(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 && name ? name.get() : type.name());
}

QString unitName(const std::type_info& type)
{
    // By name, so that this table needs none of the headers it names.
    static const std::pair<const char*, const char*> units[] = {
        {"zel::Error", "engine/errors.h"},
        {"zel::ConvertError", "engine/errors.h"},
        {"zel::InOutError", "engine/errors.h"},
        {"zel::StoreError", "shell/settingsstore.h"},
        {"zel::UnreadListError", "lists/liststore.h"},
        {"zel::BaseError", "base/calcbase.h"},
        {"zel::HttpError", "online/httpaccess.h"},
        {"zel::SocketError", "online/httpaccess.h"},
        {"std::exception", "<exception>"},
        {"std::bad_exception", "<exception>"},
        {"std::bad_alloc", "<new>"},
        {"std::bad_array_new_length", "<new>"},
        {"std::bad_cast", "<typeinfo>"},
        {"std::bad_typeid", "<typeinfo>"},
        {"std::logic_error", "<stdexcept>"},
        {"std::domain_error", "<stdexcept>"},
        {"std::invalid_argument", "<stdexcept>"},
        {"std::length_error", "<stdexcept>"},
        {"std::out_of_range", "<stdexcept>"},
        {"std::runtime_error", "<stdexcept>"},
        {"std::range_error", "<stdexcept>"},
        {"std::overflow_error", "<stdexcept>"},
        {"std::underflow_error", "<stdexcept>"},
        {"std::system_error", "<system_error>"},
        {"std::future_error", "<future>"},
    };
    const QString name = className(type);
    for (const auto& [cls, unit] : units)
        if (name == QLatin1String(cls))
            return QString::fromLatin1(unit);
    return QStringLiteral("?");
}

QString errorText(const std::exception& error)
{
    QString text = QString::fromUtf8(error.what());
    if (const auto* nested = dynamic_cast<const std::nested_exception*>(&error)) {
        if (nested->nested_ptr()) {
            try {
                nested->rethrow_nested();
            } catch (const std::exception& inner) {
                text += QStringLiteral("\r\n") + errorText(inner);
            } catch (...) {
            }
        }
    }
    return text;
}

QString errorDescription(const QString& reporterClass, const std::exception& error)
{
    return QStringLiteral("exception ") + reporterClass + QStringLiteral("  ") + errorText(error)
         + QStringLiteral("    ") + className(typeid(error)) + QLatin1Char(' ')
         + unitName(typeid(error));
}

bool isNetworkFailure(const QString& message)
{
    return message.contains(QStringLiteral("Socket Error"), Qt::CaseSensitive);
}

} // namespace zel
