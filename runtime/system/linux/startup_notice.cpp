#include "runtime/system/startup_notice.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace tolvane::system {
namespace {

constexpr std::chrono::milliseconds kNoticeLimit{1000};
// A client message carries 20 bytes of the message in its 8-bit format.
constexpr std::size_t kBytesPerClientMessage = sizeof(xcb_client_message_data_t::data8);
// The sender's window is never shown; off screen in case a window manager maps it anyway.
constexpr std::int16_t kOffScreen = -100;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, false, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// A value as the start-up notification protocol quotes it.
std::string Quoted(const std::string& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

void SendRemove(xcb_connection_t* connection, const std::string& startupId) {
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  // The messages come from a window of the sender's own, as the protocol asks.
  const xcb_window_t sender = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, screen->root, kOffScreen, kOffScreen,
                    1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
  const xcb_atom_t begin = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
  const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
  const std::string message = "remove: ID=" + Quoted(startupId) + '\0';
  for (std::size_t offset = 0; offset < message.size(); offset += kBytesPerClientMessage) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = sender;
    event.type = offset == 0 ? begin : more;
    std::memcpy(event.data.data8, message.data() + offset,
                std::min(kBytesPerClientMessage, message.size() - offset));
    xcb_send_event(connection, false, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                   reinterpret_cast<const char*>(&event));
  }
  xcb_destroy_window(connection, sender);
  // A round trip: the server has handled the messages before the connection closes, which
  // could otherwise drop them.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace

void CompleteStartupNotice() {
  const char* id = std::getenv("DESKTOP_STARTUP_ID");
  if (id == nullptr || *id == '\0' || std::getenv("DISPLAY") == nullptr) return;
  // A hung X server must not hold the start: the notice has a second, then the program ends
  // without it (the thread, blocked in the connection, ends with the process).
  auto sent = std::make_shared<std::promise<void>>();
  std::future<void> done = sent->get_future();
  std::thread([sent, startupId = std::string(id)] {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) == 0) SendRemove(connection, startupId);
    xcb_disconnect(connection);
    sent->set_value();
  }).detach();
  done.wait_for(kNoticeLimit);
}

}  // namespace tolvane::system
