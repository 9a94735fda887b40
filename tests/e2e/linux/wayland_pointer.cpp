// Test helper: a virtual pointer on a Wayland seat, so that a headless compositor
// without input devices offers its clients a pointer. Each line on stdin is one
// action: "move DX DY" (relative, logical pixels) or "click" (left button); the
// device goes at the end of the input.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void OnGlobal(void*, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat)
    seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "wayland_pointer: no Wayland display\n");
    return 1;
  }
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (!manager) {
    std::fprintf(stderr, "wayland_pointer: the compositor offers no virtual pointer\n");
    return 1;
  }
  zwlr_virtual_pointer_v1* pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
  wl_display_roundtrip(display);
  std::puts("ready");
  std::fflush(stdout);
  std::uint32_t time = 0;
  char line[128];
  while (std::fgets(line, sizeof line, stdin)) {
    double dx = 0, dy = 0;
    time += 10;
    if (std::sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
      zwlr_virtual_pointer_v1_motion(pointer, time, wl_fixed_from_double(dx),
                                     wl_fixed_from_double(dy));
    } else if (std::strncmp(line, "click", 5) == 0) {
      zwlr_virtual_pointer_v1_button(pointer, time, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
      zwlr_virtual_pointer_v1_frame(pointer);
      zwlr_virtual_pointer_v1_button(pointer, time + 5, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    std::puts("done");
    std::fflush(stdout);
  }
  zwlr_virtual_pointer_v1_destroy(pointer);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
