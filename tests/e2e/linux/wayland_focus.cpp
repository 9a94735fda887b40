// Test helper: another client that takes the keyboard away from whatever has it.
// The argument says how:
//   layer     an overlay layer surface with exclusive keyboard interactivity (a dialog
//             or panel that grabs the keyboard), a small grey square on the first output
//   toplevel  an ordinary window
// It prints "mapped" once its surface is on screen and "focused" when the keyboard
// comes to it; the test ends it by its process id.
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kSide = 64;

struct Client {
  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  wl_seat* seat = nullptr;
  zwlr_layer_shell_v1* layerShell = nullptr;
  xdg_wm_base* wmBase = nullptr;
  wl_surface* surface = nullptr;
  wl_buffer* buffer = nullptr;
  bool configured = false;
  bool mapped = false;
};

void Say(const char* what) {
  std::puts(what);
  std::fflush(stdout);
}

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
  auto* client = static_cast<Client*>(data);
  const std::string kind = interface;
  if (kind == wl_compositor_interface.name)
    client->compositor =
        static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
  else if (kind == wl_shm_interface.name)
    client->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  else if (kind == wl_seat_interface.name && !client->seat)
    client->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 5));
  else if (kind == zwlr_layer_shell_v1_interface.name)
    client->layerShell = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 3));
  else if (kind == xdg_wm_base_interface.name)
    client->wmBase =
        static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 2));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); }
void OnEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) { Say("focused"); }
void OnLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void OnKey(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void OnModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}
void OnRepeat(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnEnter,     OnLeave,
                                                OnKey,    OnModifiers, OnRepeat};

// Shows the buffer on the first configure: the surface is mapped from then on.
void Present(Client& client) {
  client.configured = true;
  wl_surface_attach(client.surface, client.buffer, 0, 0);
  wl_surface_damage_buffer(client.surface, 0, 0, kSide, kSide);
  wl_surface_commit(client.surface);
  if (!client.mapped) Say("mapped");
  client.mapped = true;
}
void OnLayerConfigure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t,
                      std::uint32_t) {
  zwlr_layer_surface_v1_ack_configure(layer, serial);
  Present(*static_cast<Client*>(data));
}
void OnLayerClosed(void*, zwlr_layer_surface_v1*) {}
const zwlr_layer_surface_v1_listener kLayerListener = {OnLayerConfigure, OnLayerClosed};

void OnPing(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBaseListener = {OnPing};
void OnXdgConfigure(void* data, xdg_surface* surface, std::uint32_t serial) {
  xdg_surface_ack_configure(surface, serial);
  Present(*static_cast<Client*>(data));
}
const xdg_surface_listener kXdgSurfaceListener = {OnXdgConfigure};
void OnToplevelConfigure(void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {}
void OnToplevelClose(void*, xdg_toplevel*) {}
void OnToplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void OnToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener kToplevelListener = {OnToplevelConfigure, OnToplevelClose,
                                                 OnToplevelBounds, OnToplevelCapabilities};

// A grey square in shared memory.
wl_buffer* GreySquare(wl_shm* shm) {
  const int stride = kSide * 4, size = stride * kSide;
  const int fd = memfd_create("wayland_focus", MFD_CLOEXEC);
  if (fd < 0 || ftruncate(fd, size) < 0) return nullptr;
  void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) return nullptr;
  std::memset(pixels, 0x80, size);
  munmap(pixels, size);
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
  wl_buffer* buffer =
      wl_shm_pool_create_buffer(pool, 0, kSide, kSide, stride, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string how = argc > 1 ? argv[1] : "";
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "wayland_focus: no Wayland display\n");
    return 1;
  }
  Client client;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &client);
  wl_display_roundtrip(display);
  if (!client.compositor || !client.shm || !client.seat) {
    std::fprintf(stderr, "wayland_focus: no compositor, shared memory or seat\n");
    return 1;
  }
  wl_keyboard_add_listener(wl_seat_get_keyboard(client.seat), &kKeyboardListener, &client);
  client.buffer = GreySquare(client.shm);
  client.surface = wl_compositor_create_surface(client.compositor);
  if (how == "layer" && client.layerShell) {
    zwlr_layer_surface_v1* layer = zwlr_layer_shell_v1_get_layer_surface(
        client.layerShell, client.surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "focus");
    zwlr_layer_surface_v1_add_listener(layer, &kLayerListener, &client);
    zwlr_layer_surface_v1_set_size(layer, kSide, kSide);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  } else if (how == "toplevel" && client.wmBase) {
    xdg_wm_base_add_listener(client.wmBase, &kWmBaseListener, &client);
    xdg_surface* window = xdg_wm_base_get_xdg_surface(client.wmBase, client.surface);
    xdg_surface_add_listener(window, &kXdgSurfaceListener, &client);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(window);
    xdg_toplevel_add_listener(toplevel, &kToplevelListener, &client);
    xdg_toplevel_set_title(toplevel, "focus");
  } else {
    std::fprintf(stderr, "usage: wayland_focus layer|toplevel (and a compositor offering it)\n");
    return 1;
  }
  wl_surface_commit(client.surface);  // no buffer yet: asks for the first configure

  while (wl_display_dispatch(display) >= 0) {
  }
  return 0;
}
