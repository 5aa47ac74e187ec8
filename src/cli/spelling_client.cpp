#include "cli/spelling_client.h"

#include <dbus/dbus.h>

#include <memory>

#include "common/spelling_service_names.h"
#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

// Frees a libdbus error on every path out.
class BusError {
 public:
  BusError() { dbus_error_init(&error_); }
  ~BusError() { dbus_error_free(&error_); }
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  DBusError* get() { return &error_; }
  bool IsSet() const { return dbus_error_is_set(&error_); }
  bool Is(const char* name) const { return dbus_error_has_name(&error_, name); }
  std::string Message() const { return error_.message != nullptr ? error_.message : "unknown error"; }

 private:
  DBusError error_;
};

struct MessageUnref {
  void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

}  // namespace

TSpellingClient::TSpellingClient() {
  BusError error;
  connection_ = dbus_bus_get_private(DBUS_BUS_SESSION, error.get());
  if (connection_ == nullptr) {
    error_ = "cannot reach the D-Bus session bus: " + error.Message();
    return;
  }
  // A lost bus is an error to report, not a reason for libdbus to end the process.
  dbus_connection_set_exit_on_disconnect(connection_, false);
}

TSpellingClient::~TSpellingClient() {
  if (connection_ == nullptr) return;
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
}

TQueryResult TSpellingClient::Execute(const std::string& bus_name, std::string_view macro) {
  if (connection_ == nullptr) return {TQueryStatus::qsFailed, error_};
  // A bus string is UTF-8 without NUL; libdbus would refuse anything else.
  if (!IsValidUtf8(macro) || macro.find('\0') != std::string_view::npos)
    return {TQueryStatus::qsFailed, "not UTF-8 text without NUL characters"};
  if (!dbus_validate_bus_name(bus_name.c_str(), nullptr))
    return {TQueryStatus::qsFailed, "not a bus name: " + bus_name};
  const std::string path(kSpellingObjectPath);
  const std::string interface(kSpellingInterface);
  Message call(dbus_message_new_method_call(bus_name.c_str(), path.c_str(), interface.c_str(), "Execute"));
  if (!call) return {TQueryStatus::qsFailed, "out of memory"};
  // Only a program that is already running is asked; none is started for it.
  dbus_message_set_auto_start(call.get(), false);
  const std::string text(macro);
  const char* argument = text.c_str();
  if (!dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID))
    return {TQueryStatus::qsFailed, "out of memory"};
  BusError error;
  Message reply(dbus_connection_send_with_reply_and_block(connection_, call.get(), DBUS_TIMEOUT_USE_DEFAULT,
                                                          error.get()));
  if (!reply) {
    if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) || error.Is(DBUS_ERROR_NAME_HAS_NO_OWNER))
      return {TQueryStatus::qsNotRunning, "Tovuri is not running (nothing owns " + bus_name + " on the session bus)"};
    return {TQueryStatus::qsFailed, error.Message()};
  }
  const char* answer = nullptr;
  if (!dbus_message_get_args(reply.get(), error.get(), DBUS_TYPE_STRING, &answer, DBUS_TYPE_INVALID))
    return {TQueryStatus::qsFailed, "unexpected answer: " + error.Message()};
  return {TQueryStatus::qsAnswered, answer};
}

}  // namespace tovuri
