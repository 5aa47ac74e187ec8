#pragma once
// A bare libdbus connection for the tests: sends what no well-behaved client
// would, follows the answer property, and can hold a bus name.
#include <dbus/dbus.h>

#include <string>
#include <utility>
#include <vector>

namespace tovuri::testing {

class RawBus {
 public:
  RawBus() {
    DBusError error;
    dbus_error_init(&error);
    connection_ = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    dbus_error_free(&error);
    if (connection_ != nullptr) dbus_connection_set_exit_on_disconnect(connection_, false);
  }
  ~RawBus() {
    if (connection_ == nullptr) return;
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
  }
  RawBus(const RawBus&) = delete;
  RawBus& operator=(const RawBus&) = delete;

  bool Connected() const { return connection_ != nullptr; }

  // A call to the service's object, to be filled with arguments.
  static DBusMessage* NewCall(const std::string& service, const char* interface, const char* method,
                              const char* path = "/Spelling") {
    return dbus_message_new_method_call(service.c_str(), path, interface, method);
  }

  // Sends a call (taking it) and waits: the reply's first string (or the
  // string in its first variant), "ok" for a reply without one, or "error "
  // and the error's name.
  std::string Call(DBusMessage* call, int timeout_ms = 10000) {
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(connection_, call, timeout_ms, &error);
    dbus_message_unref(call);
    std::string result;
    if (reply == nullptr) {
      result = std::string("error ") + (error.name != nullptr ? error.name : "?");
    } else {
      DBusMessageIter it, variant;
      const char* text = nullptr;
      result = "ok";
      if (dbus_message_iter_init(reply, &it) && dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&it, &variant);
        it = variant;
      }
      if (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_STRING) {
        dbus_message_iter_get_basic(&it, &text);
        result = text;
      }
      dbus_message_unref(reply);
    }
    dbus_error_free(&error);
    return result;
  }

  // Execute with a string argument.
  static DBusMessage* NewExecute(const std::string& service, const std::string& macro) {
    DBusMessage* call = NewCall(service, "org.tovuri.Spelling", "Execute");
    const char* argument = macro.c_str();
    dbus_message_append_args(call, DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID);
    return call;
  }

  // A property of the service's interface, asked for with Get or Set.
  static DBusMessage* NewPropertyCall(const std::string& service, const char* method, const char* property) {
    DBusMessage* call = NewCall(service, "org.freedesktop.DBus.Properties", method);
    const char* interface = "org.tovuri.Spelling";
    dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID);
    return call;
  }

  // Sends a call (taking it) without waiting; its reply is collected by Drain.
  void Send(DBusMessage* call) {
    dbus_connection_send(connection_, call, nullptr);
    dbus_message_unref(call);
    ++unanswered_;
  }

  // Waits for the replies of every Send; how many of them were errors.
  int Drain(int timeout_ms = 30000) {
    for (TakeReceived(); unanswered_ > 0; TakeReceived())
      if (!dbus_connection_read_write(connection_, timeout_ms)) break;
    return std::exchange(errors_, 0);
  }
  int Unanswered() const { return unanswered_; }

  // From now on, DoesWordExist's changes on any object path "/Spelling" are kept.
  void FollowAnswers() {
    dbus_bus_add_match(connection_,
                       "type='signal',interface='org.freedesktop.DBus.Properties',"
                       "member='PropertiesChanged',path='/Spelling'",
                       nullptr);
    dbus_connection_flush(connection_);
  }

  // The answers that PropertiesChanged reported, in order, among the messages
  // received so far.
  std::vector<std::string> AnswersSeen() {
    dbus_connection_read_write(connection_, 0);
    TakeReceived();
    return answers_;
  }

  // Takes a bus name as another program would.
  bool OwnName(const std::string& name) {
    return dbus_bus_request_name(connection_, name.c_str(), DBUS_NAME_FLAG_DO_NOT_QUEUE, nullptr) ==
           DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER;
  }

 private:
  void TakeReceived() {
    while (DBusMessage* message = dbus_connection_pop_message(connection_)) {
      const int type = dbus_message_get_type(message);
      if (type == DBUS_MESSAGE_TYPE_ERROR || type == DBUS_MESSAGE_TYPE_METHOD_RETURN) {
        --unanswered_;
        if (type == DBUS_MESSAGE_TYPE_ERROR) ++errors_;
      } else if (dbus_message_is_signal(message, "org.freedesktop.DBus.Properties", "PropertiesChanged")) {
        ReadChangedAnswer(message);
      }
      dbus_message_unref(message);
    }
  }

  void ReadChangedAnswer(DBusMessage* message) {
    DBusMessageIter it, dict, entry, value;
    if (!dbus_message_iter_init(message, &it) || !dbus_message_iter_next(&it)) return;
    if (dbus_message_iter_get_arg_type(&it) != DBUS_TYPE_ARRAY) return;
    for (dbus_message_iter_recurse(&it, &dict); dbus_message_iter_get_arg_type(&dict) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&dict)) {
      dbus_message_iter_recurse(&dict, &entry);
      const char* name = nullptr;
      dbus_message_iter_get_basic(&entry, &name);
      dbus_message_iter_next(&entry);
      dbus_message_iter_recurse(&entry, &value);
      if (std::string(name) == "DoesWordExist" && dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_STRING) {
        const char* text = nullptr;
        dbus_message_iter_get_basic(&value, &text);
        answers_.push_back(text);
      }
    }
  }

  DBusConnection* connection_ = nullptr;
  int unanswered_ = 0;
  int errors_ = 0;
  std::vector<std::string> answers_;
};

}  // namespace tovuri::testing
