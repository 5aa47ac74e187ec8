#include "cli/spelling_client.h"

#include <dbus/dbus.h>
#include <dlfcn.h>

#include <memory>

#include "common/spelling_service_names.h"
#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

// libdbus, loaded when the first client is made: linking it would load it
// (with libsystemd and its compression and crypto libraries) into every
// tovuri-check run, a millisecond or two of start-up that only --query needs.
struct LibDbus {
  template <class Function>
  void Load(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(dlsym(handle, name));
    if (function == nullptr) missing = name;
  }

  LibDbus() {
    handle = dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* why = dlerror();
      missing = why != nullptr ? why : "libdbus-1.so.3";
      return;
    }
    Load(error_init, "dbus_error_init");
    Load(error_free, "dbus_error_free");
    Load(error_has_name, "dbus_error_has_name");
    Load(bus_get_private, "dbus_bus_get_private");
    Load(set_exit_on_disconnect, "dbus_connection_set_exit_on_disconnect");
    Load(connection_close, "dbus_connection_close");
    Load(connection_unref, "dbus_connection_unref");
    Load(validate_bus_name, "dbus_validate_bus_name");
    Load(new_method_call, "dbus_message_new_method_call");
    Load(set_auto_start, "dbus_message_set_auto_start");
    Load(append_args, "dbus_message_append_args");
    Load(send_with_reply_and_block, "dbus_connection_send_with_reply_and_block");
    Load(message_unref, "dbus_message_unref");
    Load(get_args, "dbus_message_get_args");
  }

  void* handle = nullptr;
  std::string missing;  // what could not be loaded; empty when all was
  decltype(dbus_error_init)* error_init = nullptr;
  decltype(dbus_error_free)* error_free = nullptr;
  decltype(dbus_error_has_name)* error_has_name = nullptr;
  decltype(dbus_bus_get_private)* bus_get_private = nullptr;
  decltype(dbus_connection_set_exit_on_disconnect)* set_exit_on_disconnect = nullptr;
  decltype(dbus_connection_close)* connection_close = nullptr;
  decltype(dbus_connection_unref)* connection_unref = nullptr;
  decltype(dbus_validate_bus_name)* validate_bus_name = nullptr;
  decltype(dbus_message_new_method_call)* new_method_call = nullptr;
  decltype(dbus_message_set_auto_start)* set_auto_start = nullptr;
  decltype(dbus_message_append_args)* append_args = nullptr;
  decltype(dbus_connection_send_with_reply_and_block)* send_with_reply_and_block = nullptr;
  decltype(dbus_message_unref)* message_unref = nullptr;
  decltype(dbus_message_get_args)* get_args = nullptr;
};

const LibDbus& Dbus() {
  static const LibDbus library;
  return library;
}

// Frees a libdbus error on every path out.
class BusError {
 public:
  BusError() { Dbus().error_init(&error_); }
  ~BusError() { Dbus().error_free(&error_); }
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  DBusError* get() { return &error_; }
  bool Is(const char* name) const { return Dbus().error_has_name(&error_, name); }
  std::string Message() const { return error_.message != nullptr ? error_.message : "unknown error"; }

 private:
  DBusError error_;
};

struct MessageUnref {
  void operator()(DBusMessage* message) const { Dbus().message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

}  // namespace

TSpellingClient::TSpellingClient() {
  const LibDbus& dbus = Dbus();
  if (!dbus.missing.empty()) {
    error_ = "cannot load libdbus (" + dbus.missing + ")";
    return;
  }
  BusError error;
  connection_ = dbus.bus_get_private(DBUS_BUS_SESSION, error.get());
  if (connection_ == nullptr) {
    error_ = "cannot reach the D-Bus session bus: " + error.Message();
    return;
  }
  // A lost bus is an error to report, not a reason for libdbus to end the process.
  dbus.set_exit_on_disconnect(connection_, false);
}

TSpellingClient::~TSpellingClient() {
  if (connection_ == nullptr) return;
  Dbus().connection_close(connection_);
  Dbus().connection_unref(connection_);
}

TQueryResult TSpellingClient::Execute(const std::string& bus_name, std::string_view macro) {
  if (connection_ == nullptr) return {TQueryStatus::qsFailed, error_};
  const LibDbus& dbus = Dbus();
  // A bus string is UTF-8 without NUL; libdbus would refuse anything else.
  if (!IsValidUtf8(macro) || macro.find('\0') != std::string_view::npos)
    return {TQueryStatus::qsFailed, "not UTF-8 text without NUL characters"};
  if (!dbus.validate_bus_name(bus_name.c_str(), nullptr))
    return {TQueryStatus::qsFailed, "not a bus name: " + bus_name};
  const std::string path(kSpellingObjectPath);
  const std::string interface(kSpellingInterface);
  Message call(dbus.new_method_call(bus_name.c_str(), path.c_str(), interface.c_str(), "Execute"));
  if (!call) return {TQueryStatus::qsFailed, "out of memory"};
  // Only a program that is already running is asked; none is started for it.
  dbus.set_auto_start(call.get(), false);
  const std::string text(macro);
  const char* argument = text.c_str();
  if (!dbus.append_args(call.get(), DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID))
    return {TQueryStatus::qsFailed, "out of memory"};
  BusError error;
  Message reply(dbus.send_with_reply_and_block(connection_, call.get(), DBUS_TIMEOUT_USE_DEFAULT,
                                                          error.get()));
  if (!reply) {
    if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) || error.Is(DBUS_ERROR_NAME_HAS_NO_OWNER))
      return {TQueryStatus::qsNotRunning, "Tovuri is not running (nothing owns " + bus_name + " on the session bus)"};
    return {TQueryStatus::qsFailed, error.Message()};
  }
  const char* answer = nullptr;
  if (!dbus.get_args(reply.get(), error.get(), DBUS_TYPE_STRING, &answer, DBUS_TYPE_INVALID))
    return {TQueryStatus::qsFailed, "unexpected answer: " + error.Message()};
  return {TQueryStatus::qsAnswered, answer};
}

}  // namespace tovuri
