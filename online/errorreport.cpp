// The error report's texts.
#include "online/errorreport.h"
#include "engine/errors.h"
#include "online/httpaccess.h"
#include "shell/settingsstore.h"

#include <cxxabi.h>

#include <cstdlib>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <typeindex>
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
    static const std::pair<std::type_index, const char*> units[] = {
        {typeid(Error), "engine/errors.h"},
        {typeid(ConvertError), "engine/errors.h"},
        {typeid(StoreError), "shell/settingsstore.h"},
        {typeid(HttpError), "online/httpaccess.h"},
        {typeid(SocketError), "online/httpaccess.h"},
        {typeid(std::exception), "<exception>"},
        {typeid(std::bad_exception), "<exception>"},
        {typeid(std::bad_alloc), "<new>"},
        {typeid(std::bad_array_new_length), "<new>"},
        {typeid(std::bad_cast), "<typeinfo>"},
        {typeid(std::bad_typeid), "<typeinfo>"},
        {typeid(std::logic_error), "<stdexcept>"},
        {typeid(std::domain_error), "<stdexcept>"},
        {typeid(std::invalid_argument), "<stdexcept>"},
        {typeid(std::length_error), "<stdexcept>"},
        {typeid(std::out_of_range), "<stdexcept>"},
        {typeid(std::runtime_error), "<stdexcept>"},
        {typeid(std::range_error), "<stdexcept>"},
        {typeid(std::overflow_error), "<stdexcept>"},
        {typeid(std::underflow_error), "<stdexcept>"},
        {typeid(std::system_error), "<system_error>"},
        {typeid(std::future_error), "<future>"},
    };
    for (const auto& [index, unit] : units)
        if (index == std::type_index(type))
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
