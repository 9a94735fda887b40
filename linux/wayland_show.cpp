#include "linux/wayland_show.h"

#include "common/result.h"
#include "engine/frame_pacing.h"
#include "engine/show_pictures.h"
#include "engine/show_rules.h"
#include "linux/egl_surface.h"
#include "linux/keyboard_focus.h"
#include "linux/posix_clock.h"
#include "linux/show_slots.h"
#include "linux/stop_signals.h"
#include "music/gst_music_player.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orvane::linux_program {
namespace {

using engine::ScreenPoint;
using engine::ShowRules;

// SIGTERM and SIGINT end the program at once, wherever it is: everything the show
// holds outside the process goes with its connections (the compositor drops the
// surfaces of a client that has gone, the sound server its stream), so there is
// nothing to tidy, and a frame of a slow output is not waited for.
void OnStopSignal(int) { _exit(0); }

class WaylandShow;

// One output and the surface that covers it.
struct Output {
  WaylandShow* show = nullptr;
  std::uint32_t name = 0;  // the registry's name of the global
  wl_output* output = nullptr;
  // Where the output lies on the desk, in logical pixels, so that the pointer is
  // measured in one space across outputs. wl_output's own position is 0,0 on
  // some compositors (wlroots-based ones among them), which would make a step
  // from one output to the next a jump of an output's width.
  zxdg_output_v1* deskPlace = nullptr;
  std::int32_t x = 0, y = 0;
  std::int32_t scale = 1;
  bool described = false;  // the first "done" has come: the output is ready to cover

  wl_surface* surface = nullptr;
  zwlr_layer_surface_v1* layer = nullptr;
  // Without a layer shell: a full-screen window on the output instead.
  xdg_surface* xdgSurface = nullptr;
  xdg_toplevel* toplevel = nullptr;
  int modeWidth = 0, modeHeight = 0;        // the output's pixels, for a size left to us
  int offeredWidth = 0, offeredHeight = 0;  // the window's last configure
  std::unique_ptr<EglSurface> egl;
  int slot = -1;              // the picture's slot, once the surface has its size
  int width = 0, height = 0;  // surface-local size from the compositor
  int appliedScale = 1;
  wl_callback* frame = nullptr;  // the frame callback waited for
};

class WaylandShow final : public engine::ShowPlatform {
 public:
  WaylandShow(const ProgramOptions& options, std::function<void(const std::string&)> report)
      : options_(options), report_(std::move(report)) {}
  ~WaylandShow() override { Disconnect(); }

  common::Result<void> Connect();
  // Runs the loop; 0 or 1 as RunWaylandShow says.
  int Run();

  // From the listeners.
  void AddGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                 std::uint32_t version);
  void AskDeskPlace(Output& output);
  void RemoveGlobal(std::uint32_t name);
  void OutputDescribed(Output& output);
  void Configure(Output& output, std::uint32_t serial, int width, int height);
  void ConfigureWindow(Output& output, std::uint32_t serial);
  void Sized(Output& output, int width, int height);
  void CloseRequested() {
    closes_.Request(rules_, [this] { EndShow(); });
  }
  void Closed(Output& output) { Uncover(output); }
  void FrameDone(Output& output) {
    wl_callback_destroy(output.frame);
    output.frame = nullptr;
  }
  void SeatCapabilities(std::uint32_t capabilities);
  void PointerAt(wl_surface* surface, wl_fixed_t x, wl_fixed_t y, bool entering,
                 std::uint32_t serial);
  void Button(std::uint32_t button, std::uint32_t state) {
    // Left, right and middle, as elsewhere; the wheel is no button here.
    if (state == WL_POINTER_BUTTON_STATE_PRESSED &&
        (button == BTN_LEFT || button == BTN_RIGHT || button == BTN_MIDDLE))
      rules_.OnButtonPressed();
  }
  void Key(std::uint32_t state) {
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) rules_.OnKeyPressed();
  }
  void KeyboardEntered(wl_surface* surface) {
    if (Covering(surface)) keyboardFocus_.Entered(surface);
  }
  void KeyboardLeft(wl_surface* surface) { keyboardFocus_.Left(surface, MonotonicSeconds()); }

  // ShowPlatform. The pointer's place is known only once it enters a surface.
  ScreenPoint CursorPosition() override { return pointer_; }
  void HideCursor() override {}  // each surface sets no cursor image when the pointer enters
  void SetRunTitle() override {}
  void LowerThreadPriority() override {}
  void SetUpWindowPicture(engine::ShowWindowId window) override;
  void TearDownWindowPicture(engine::ShowWindowId window) override {
    pictures_.TearDown(static_cast<std::size_t>(window));
  }
  void PostQuit() override { quit_ = true; }
  void PostClose() override { closes_.Post(); }
  bool VerifyPassword() override { return true; }  // locking is the compositor's

 private:
  void Cover(Output& output);
  void Uncover(Output& output);
  Output* OutputOf(wl_surface* surface) {
    for (auto& output : outputs_)
      if (output->surface == surface) return output.get();
    return nullptr;
  }
  bool Covering(wl_surface* surface) { return surface && OutputOf(surface); }
  void DrawDueFrames();
  void Show(Output& output, std::size_t slot);
  // Waits for the compositor and handles what it sent, or says why the
  // connection is lost.
  common::Result<void> WaitAndDispatch();
  void EndShow();
  void Disconnect();

  const ProgramOptions& options_;
  std::function<void(const std::string&)> report_;  // the program's reporter
  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  zwlr_layer_shell_v1* layerShell_ = nullptr;
  xdg_wm_base* wmBase_ = nullptr;
  zxdg_output_manager_v1* deskPlaces_ = nullptr;
  wl_seat* seat_ = nullptr;
  wl_pointer* pointerDevice_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  std::vector<std::unique_ptr<Output>> outputs_;
  EglDisplay egl_;

  MonotonicClock clock_;
  engine::ShowPictures pictures_{clock_};
  ShowSlots slots_;
  std::vector<Output*> bySlot_;
  ShowRules rules_{*this};
  engine::PostedCloses closes_;
  bool started_ = false;
  bool quit_ = false;
  ScreenPoint pointer_;
  bool pointerSeen_ = false;
  Output* pointerOver_ = nullptr;  // the output whose surface the pointer is on
  KeyboardFocus keyboardFocus_;
  engine::FpsCounter fps_;
};

// The listeners: each forwards to the show with plain values.

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
  static_cast<WaylandShow*>(data)->AddGlobal(registry, name, interface, version);
}
void OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
  static_cast<WaylandShow*>(data)->RemoveGlobal(name);
}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnOutputGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t,
                      std::int32_t, std::int32_t, const char*, const char*, std::int32_t) {
  auto* output = static_cast<Output*>(data);
  if (output->deskPlace) return;  // the desk's own place is the one to measure in
  output->x = x;
  output->y = y;
}
void OnOutputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width,
                  std::int32_t height, std::int32_t) {
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  auto* output = static_cast<Output*>(data);
  output->modeWidth = width;
  output->modeHeight = height;
}
void OnOutputDone(void* data, wl_output*) {
  auto* output = static_cast<Output*>(data);
  output->show->OutputDescribed(*output);
}
void OnOutputScale(void* data, wl_output*, std::int32_t factor) {
  static_cast<Output*>(data)->scale = std::max(1, factor);
}
void OnOutputText(void*, wl_output*, const char*) {}
const wl_output_listener kOutputListener = {OnOutputGeometry, OnOutputMode, OnOutputDone,
                                            OnOutputScale,    OnOutputText, OnOutputText};

void OnDeskPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
  auto* output = static_cast<Output*>(data);
  output->x = x;
  output->y = y;
}
void OnDeskSize(void*, zxdg_output_v1*, std::int32_t, std::int32_t) {}
void OnDeskDone(void*, zxdg_output_v1*) {}
void OnDeskText(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener kDeskPlaceListener = {OnDeskPosition, OnDeskSize, OnDeskDone,
                                                    OnDeskText, OnDeskText};

void OnLayerConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                      std::uint32_t height) {
  auto* output = static_cast<Output*>(data);
  output->show->Configure(*output, serial, static_cast<int>(width), static_cast<int>(height));
}
void OnLayerClosed(void* data, zwlr_layer_surface_v1*) {
  auto* output = static_cast<Output*>(data);
  output->show->Closed(*output);
}
const zwlr_layer_surface_v1_listener kLayerListener = {OnLayerConfigure, OnLayerClosed};

void OnWmPing(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBaseListener = {OnWmPing};
void OnXdgConfigure(void* data, xdg_surface*, std::uint32_t serial) {
  auto* output = static_cast<Output*>(data);
  output->show->ConfigureWindow(*output, serial);
}
const xdg_surface_listener kXdgSurfaceListener = {OnXdgConfigure};
void OnToplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height,
                         wl_array*) {
  auto* output = static_cast<Output*>(data);
  output->offeredWidth = width;
  output->offeredHeight = height;
}
void OnToplevelClose(void* data, xdg_toplevel*) {
  static_cast<Output*>(data)->show->CloseRequested();
}
void OnToplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void OnToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener kToplevelListener = {OnToplevelConfigure, OnToplevelClose,
                                                 OnToplevelBounds, OnToplevelCapabilities};

void OnFrameDone(void* data, wl_callback*, std::uint32_t) {
  auto* output = static_cast<Output*>(data);
  output->show->FrameDone(*output);
}
const wl_callback_listener kFrameListener = {OnFrameDone};

void OnSeatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
  static_cast<WaylandShow*>(data)->SeatCapabilities(capabilities);
}
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {OnSeatCapabilities, OnSeatName};

void OnPointerEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y) {
  static_cast<WaylandShow*>(data)->PointerAt(surface, x, y, true, serial);
}
void OnPointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) {}
void OnPointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
  static_cast<WaylandShow*>(data)->PointerAt(nullptr, x, y, false, 0);
}
void OnPointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
                     std::uint32_t state) {
  static_cast<WaylandShow*>(data)->Button(button, state);
}
void OnPointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void OnPointerFrame(void*, wl_pointer*) {}
void OnPointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
void OnPointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void OnPointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener kPointerListener = {
    OnPointerEnter,        OnPointerLeave,       OnPointerMotion,     OnPointerButton,
    OnPointerAxis,         OnPointerFrame,       OnPointerAxisSource, OnPointerAxisStop,
    OnPointerAxisDiscrete, OnPointerAxisDiscrete};

void OnKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) {
  close(fd);  // any key ends the show: which key it was does not matter
}
void OnKeyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
  static_cast<WaylandShow*>(data)->KeyboardEntered(surface);
}
void OnKeyboardLeave(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface) {
  static_cast<WaylandShow*>(data)->KeyboardLeft(surface);
}
void OnKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
           std::uint32_t state) {
  static_cast<WaylandShow*>(data)->Key(state);
}
void OnModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}
void OnRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

common::Result<void> WaylandShow::Connect() {
  display_ = wl_display_connect(nullptr);
  if (!display_) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return common::Reason{std::string("cannot connect to the Wayland display '") +
                          (name ? name : "wayland-0") + "'"};
  }
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &kRegistryListener, this);
  // The globals, then what the outputs and the seat say about themselves.
  if (wl_display_roundtrip(display_) < 0 || wl_display_roundtrip(display_) < 0) {
    return common::Reason{"the Wayland display went away while it was asked for its globals"};
  }
  if (!compositor_) {
    return common::Reason{"the Wayland display offers no compositor"};
  }
  // A switch for the tests, whose compositor offers both ways.
  const char* shell = std::getenv("ORVANE_WAYLAND_SHELL");
  if (layerShell_ && shell && std::strcmp(shell, "xdg") == 0) {
    zwlr_layer_shell_v1_destroy(layerShell_);
    layerShell_ = nullptr;
  }
  if (!layerShell_ && !wmBase_) {
    return common::Reason{
        "the compositor offers neither a layer shell (zwlr_layer_shell_v1) nor windows "
        "(xdg_wm_base), so no surface can cover its outputs"};
  }
  return egl_.Open(display_);
}

void WaylandShow::AddGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                            std::uint32_t version) {
  const std::string kind = interface;
  if (kind == wl_compositor_interface.name) {
    // Version 3 brings the buffer scale.
    if (version >= 3)
      compositor_ = static_cast<wl_compositor*>(
          wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
  } else if (kind == zwlr_layer_shell_v1_interface.name) {
    layerShell_ = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 3u)));
  } else if (kind == xdg_wm_base_interface.name) {
    wmBase_ = static_cast<xdg_wm_base*>(
        wl_registry_bind(registry, name, &xdg_wm_base_interface, std::min(version, 2u)));
    xdg_wm_base_add_listener(wmBase_, &kWmBaseListener, this);
  } else if (kind == zxdg_output_manager_v1_interface.name) {
    deskPlaces_ = static_cast<zxdg_output_manager_v1*>(
        wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, std::min(version, 3u)));
    for (auto& output : outputs_) AskDeskPlace(*output);
  } else if (kind == wl_seat_interface.name && !seat_) {
    seat_ = static_cast<wl_seat*>(
        wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
    wl_seat_add_listener(seat_, &kSeatListener, this);
  } else if (kind == wl_output_interface.name && version >= 2) {
    auto output = std::make_unique<Output>();
    output->show = this;
    output->name = name;
    output->output = static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 3u)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    AskDeskPlace(*output);
    outputs_.push_back(std::move(output));
  }
}

void WaylandShow::AskDeskPlace(Output& output) {
  if (!deskPlaces_ || output.deskPlace) return;
  output.deskPlace = zxdg_output_manager_v1_get_xdg_output(deskPlaces_, output.output);
  zxdg_output_v1_add_listener(output.deskPlace, &kDeskPlaceListener, &output);
}

void WaylandShow::RemoveGlobal(std::uint32_t name) {
  const auto gone = std::find_if(outputs_.begin(), outputs_.end(),
                                 [name](const auto& output) { return output->name == name; });
  if (gone == outputs_.end()) return;
  Uncover(**gone);
  if ((*gone)->deskPlace) zxdg_output_v1_destroy((*gone)->deskPlace);
  if (wl_output_get_version((*gone)->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
    wl_output_release((*gone)->output);
  else
    wl_output_destroy((*gone)->output);
  outputs_.erase(gone);
}

void WaylandShow::OutputDescribed(Output& output) {
  const bool first = !output.described;
  output.described = true;
  if (first && started_) {
    Cover(output);
  } else if (output.egl && output.scale != output.appliedScale) {
    // The output's scale changed under the show: a sharp picture at the new scale.
    output.appliedScale = output.scale;
    wl_surface_set_buffer_scale(output.surface, output.scale);
    output.egl->Resize(output.width * output.scale, output.height * output.scale);
    pictures_.Resize(static_cast<std::size_t>(output.slot),
                     {output.width * output.scale, output.height * output.scale});
  }
}

void WaylandShow::Cover(Output& output) {
  if (output.surface) return;
  output.surface = wl_compositor_create_surface(compositor_);
  output.appliedScale = output.scale;
  wl_surface_set_buffer_scale(output.surface, output.scale);
  if (!layerShell_) {
    // Where the compositor has no layer shell (GNOME), a full-screen window per
    // output; it may leave panels or notifications above it.
    output.xdgSurface = xdg_wm_base_get_xdg_surface(wmBase_, output.surface);
    xdg_surface_add_listener(output.xdgSurface, &kXdgSurfaceListener, &output);
    output.toplevel = xdg_surface_get_toplevel(output.xdgSurface);
    xdg_toplevel_add_listener(output.toplevel, &kToplevelListener, &output);
    xdg_toplevel_set_title(output.toplevel, "Orvane");
    xdg_toplevel_set_app_id(output.toplevel, "orvane");
    xdg_toplevel_set_fullscreen(output.toplevel, output.output);
    wl_surface_commit(output.surface);
    return;
  }
  output.layer = zwlr_layer_shell_v1_get_layer_surface(layerShell_, output.surface, output.output,
                                                       ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "orvane");
  zwlr_layer_surface_v1_add_listener(output.layer, &kLayerListener, &output);
  zwlr_layer_surface_v1_set_size(output.layer, 0, 0);
  zwlr_layer_surface_v1_set_anchor(
      output.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                        ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  zwlr_layer_surface_v1_set_exclusive_zone(output.layer, -1);
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      output.layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  wl_surface_commit(output.surface);  // no buffer yet: asks for the first configure
}

void WaylandShow::Configure(Output& output, std::uint32_t serial, int width, int height) {
  zwlr_layer_surface_v1_ack_configure(output.layer, serial);
  if (width <= 0 || height <= 0) return;  // anchored to every edge: the output's size comes
  Sized(output, width, height);
}

void WaylandShow::ConfigureWindow(Output& output, std::uint32_t serial) {
  xdg_surface_ack_configure(output.xdgSurface, serial);
  // A size left to us is the output's, in surface coordinates.
  const int scale = std::max(1, output.appliedScale);
  const int width = output.offeredWidth > 0 ? output.offeredWidth : output.modeWidth / scale;
  const int height = output.offeredHeight > 0 ? output.offeredHeight : output.modeHeight / scale;
  if (width > 0 && height > 0) Sized(output, width, height);
}

void WaylandShow::Sized(Output& output, int width, int height) {
  output.width = width;
  output.height = height;
  const int scale = output.appliedScale;
  if (output.egl) {
    output.egl->Resize(width * scale, height * scale);
    pictures_.Resize(static_cast<std::size_t>(output.slot), {width * scale, height * scale});
    return;
  }
  output.egl = std::make_unique<EglSurface>(egl_, output.surface, width * scale, height * scale);
  if (const common::Result<void> prepared = output.egl->Prepare(); !prepared) {
    // An output left uncovered is said, and the rest of the show runs on.
    report_("no surface for an output: " + prepared.Why());
    output.egl.reset();
    return;
  }
  output.slot = slots_.Take();
  if (bySlot_.size() <= static_cast<std::size_t>(output.slot)) bySlot_.resize(output.slot + 1);
  bySlot_[output.slot] = &output;
  rules_.OnCreated(output.slot);
  if (output.slot == engine::kPrimaryWindow) rules_.OnShown();
}

void WaylandShow::SetUpWindowPicture(engine::ShowWindowId window) {
  Output* output = bySlot_.at(static_cast<std::size_t>(window));
  pictures_.SetUp(static_cast<std::size_t>(window), *output->egl);
}

void WaylandShow::Uncover(Output& output) {
  if (output.slot >= 0) {
    // The primary slot stays the rules' own until the show ends; its picture goes now.
    if (output.slot == engine::kPrimaryWindow)
      pictures_.TearDown(0);
    else
      rules_.OnDestroyed(output.slot);
    bySlot_[output.slot] = nullptr;
    slots_.Release(output.slot);
    output.slot = -1;
  }
  if (output.frame) wl_callback_destroy(output.frame);
  output.frame = nullptr;
  keyboardFocus_.Gone(output.surface);
  if (pointerOver_ == &output) pointerOver_ = nullptr;
  output.egl.reset();
  if (output.layer) zwlr_layer_surface_v1_destroy(output.layer);
  if (output.toplevel) xdg_toplevel_destroy(output.toplevel);
  if (output.xdgSurface) xdg_surface_destroy(output.xdgSurface);
  output.toplevel = nullptr;
  output.xdgSurface = nullptr;
  if (output.surface) wl_surface_destroy(output.surface);
  output.layer = nullptr;
  output.surface = nullptr;
}

void WaylandShow::SeatCapabilities(std::uint32_t capabilities) {
  const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
  const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
  if (pointer && !pointerDevice_) {
    pointerDevice_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointerDevice_, &kPointerListener, this);
  } else if (!pointer && pointerDevice_) {
    wl_pointer_release(pointerDevice_);
    pointerDevice_ = nullptr;
  }
  if (keyboard && !keyboard_) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
  } else if (!keyboard && keyboard_) {
    wl_keyboard_release(keyboard_);
    keyboard_ = nullptr;
  }
}

void WaylandShow::PointerAt(wl_surface* surface, wl_fixed_t x, wl_fixed_t y, bool entering,
                            std::uint32_t serial) {
  if (entering) {
    pointerOver_ = OutputOf(surface);
    // No cursor image over the show.
    wl_pointer_set_cursor(pointerDevice_, serial, nullptr, 0, 0);
  }
  Output* over = pointerOver_;
  if (!over) return;
  // Surface-local coordinates are the output's logical pixels, which the scale
  // does not change: the tolerance means the same on a 2x output.
  const ScreenPoint where = {over->x + wl_fixed_to_int(x), over->y + wl_fixed_to_int(y)};
  pointer_ = where;
  if (!pointerSeen_) {
    pointerSeen_ = true;
    rules_.OnPointerFound(where);
  } else {
    rules_.OnPointerMoved(where);
  }
}

void WaylandShow::DrawDueFrames() {
  for (std::size_t slot = 0; slot < bySlot_.size(); ++slot) {
    Output* output = bySlot_[slot];
    if (!output || !rules_.FrameDue()) continue;
    EglSurface& egl = *output->egl;
    // A finished frame goes to the compositor once it has shown the last one, and
    // the next is drawn meanwhile. A surface hidden or occluded gets no callback:
    // it draws one frame ahead and then nothing.
    if (egl.FrameFinished() && !output->frame) Show(*output, slot);
    if (egl.FrameFinished()) continue;
    pictures_.Draw(slot);
    if (!output->frame) {
      Show(*output, slot);  // the first frame, or one the compositor is ready for
      pictures_.Draw(slot);
    }
  }
}

void WaylandShow::Show(Output& output, std::size_t slot) {
  // A callback asked for without a commit would never come.
  if (!output.egl->FrameFinished()) return;
  output.frame = wl_surface_frame(output.surface);
  wl_callback_add_listener(output.frame, &kFrameListener, &output);
  output.egl->Show();
  if (options_.showFps && slot == 0) {
    if (const auto rate = fps_.Frame(MonotonicSeconds())) report_(engine::FpsText(*rate));
  }
}

int WaylandShow::Run() {
  started_ = true;
  for (auto& output : outputs_)
    if (output->described) Cover(*output);

  // Sound only when asked for: without --music no audio library is initialised.
  std::unique_ptr<music::GstMusicPlayer> music;
  if (!options_.musicFile.empty())
    music = std::make_unique<music::GstMusicPlayer>(options_.musicFile, report_);

  common::Result<void> connected;
  while (!quit_ && connected) {
    DrawDueFrames();
    connected = WaitAndDispatch();
    if (keyboardFocus_.LostToAnotherClient(MonotonicSeconds()))
      rules_.OnFocusLostToOtherApplication();
    // Closes are posted by the rules and delivered after the events that posted them.
    closes_.Deliver(rules_, [this] { EndShow(); });
  }

  music.reset();  // silence first; tearing the pictures down takes longer
  if (!connected) {
    report_("the Wayland compositor went away (" + connected.Why() + ")");
    return 1;
  }
  closes_.EndOnce([this] { EndShow(); });
  return 0;
}

common::Result<void> WaylandShow::WaitAndDispatch() {
  auto failure = [](const char* what) {
    return common::Reason{std::string(what) + ": " + std::strerror(errno)};
  };
  while (wl_display_prepare_read(display_) != 0)
    if (wl_display_dispatch_pending(display_) < 0) return failure("dispatch");
  if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
    wl_display_cancel_read(display_);
    return failure("send");
  }
  // Without a frame to draw the wait is for the compositor, or the end of the
  // keyboard's grace.
  timespec limit = {};
  const auto left = keyboardFocus_.WaitLimit(MonotonicSeconds());
  if (left) {
    limit.tv_sec = static_cast<time_t>(*left);
    limit.tv_nsec = static_cast<long>((*left - static_cast<double>(limit.tv_sec)) * 1e9);
  }
  pollfd wait = {wl_display_get_fd(display_), POLLIN, 0};
  const int ready = ppoll(&wait, 1, left ? &limit : nullptr, nullptr);
  if (ready > 0 && (wait.revents & POLLIN)) {
    if (wl_display_read_events(display_) < 0) return failure("receive");
  } else {
    wl_display_cancel_read(display_);
    if (ready > 0) return common::Reason{"the connection was closed"};
  }
  if (wl_display_dispatch_pending(display_) < 0) return failure("dispatch");
  return {};
}

void WaylandShow::EndShow() {
  for (auto& output : outputs_)
    if (output->slot != engine::kPrimaryWindow) Uncover(*output);
  if (started_) rules_.OnDestroyed(engine::kPrimaryWindow);
  for (auto& output : outputs_) Uncover(*output);
}

void WaylandShow::Disconnect() {
  if (!display_) return;
  // EGL's objects first: they live on the connection. Pictures still drawing
  // (the connection was lost) end before the surfaces they draw on.
  pictures_.TearDownAll();
  for (auto& output : outputs_) output->egl.reset();
  egl_.Close();
  if (pointerDevice_) wl_pointer_destroy(pointerDevice_);
  if (keyboard_) wl_keyboard_destroy(keyboard_);
  if (seat_) wl_seat_destroy(seat_);
  for (auto& output : outputs_) {
    if (output->deskPlace) zxdg_output_v1_destroy(output->deskPlace);
    wl_output_destroy(output->output);
  }
  outputs_.clear();
  if (deskPlaces_) zxdg_output_manager_v1_destroy(deskPlaces_);
  if (layerShell_) zwlr_layer_shell_v1_destroy(layerShell_);
  if (wmBase_) xdg_wm_base_destroy(wmBase_);
  if (compositor_) wl_compositor_destroy(compositor_);
  if (registry_) wl_registry_destroy(registry_);
  wl_display_flush(display_);
  wl_display_disconnect(display_);
  display_ = nullptr;
}

}  // namespace

int RunWaylandShow(const ProgramOptions& options,
                   const std::function<void(const std::string&)>& report) {
  // From the start, so that a stop during set-up ends the program with 0 too.
  HandleStopSignals(OnStopSignal);

  WaylandShow show(options, report);
  if (const common::Result<void> connected = show.Connect(); !connected) {
    report(connected.Why());
    return 1;
  }
  return show.Run();
}

}  // namespace orvane::linux_program
