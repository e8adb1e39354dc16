#include "ui/simulator_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

#include "controls/controller_menu.h"
#include "core/load_error.h"
#include "platform/qt_serial_link.h"
#include "platform/sdl_gamepad.h"
#include "ui/cab_view.h"
#include "ui/japanese_font.h"
#include "ui/serial_settings_dialog.h"

namespace kavrin {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
constexpr const char* kAppTitle = kSimulatorTitle;

// The name the run knows a key by (as the input script writes it), or empty. The numeric pad's
// digits are the digits.
std::string KeyName(int key) {
  if (key >= Qt::Key_F2 && key <= Qt::Key_F12) return "F" + std::to_string(key - Qt::Key_F1 + 1);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::string(1, static_cast<char>(key));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, static_cast<char>('a' + (key - Qt::Key_A)));
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return "Enter";
    case Qt::Key_Space: return "Space";
    case Qt::Key_Backspace: return "Backspace";
    case Qt::Key_PageUp: return "PageUp";
    case Qt::Key_PageDown: return "PageDown";
    case Qt::Key_ScrollLock: return "ScrollLock";
    case Qt::Key_Up: return "Up";
    case Qt::Key_Down: return "Down";
    case Qt::Key_Left: return "Left";
    case Qt::Key_Right: return "Right";
    case Qt::Key_Escape: return "Escape";
    default: return {};
  }
}

constexpr int kWheelStep = 120;  // one notch of a mouse wheel
}  // namespace

TForm1::TForm1(KeyValueStore& store, SoundBank& sound, PictureLoader& pictures, WaveDecoder& waves, FilmSource& film,
               QWidget* parent)
    : QMainWindow(parent),
      sim_(std::make_unique<Sim>()),
      sound_(sound),
      gamepad_(std::make_unique<SdlGamepad>()),
      serial_(std::make_unique<QtSerialLink>()),
      cab_(new CabView(this)) {
  setWindowTitle(kAppTitle);
  setCentralWidget(cab_);
  // The cab surface at full size where the screen allows it, else as large as fits.
  QSize want(CabView::kWidth, CabView::kHeight + menuBar()->sizeHint().height());
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    want = want.boundedTo(screen->availableGeometry().size() * 0.95);
  }
  resize(want);
  run_ = std::make_unique<SimulatorRun>(
      *sim_, RunServices{store, sound, *this, pictures, waves, film, *gamepad_, serial_.get()});
  // Where no device pulls the mix the bank renders at the pace of this clock, so statuses still
  // end; while a device plays it, advancing does nothing.
  run_->advanceSound = [this](int64_t now) {
    if (now > soundTime_) sound_.Advance(now - soundTime_);
    soundTime_ = std::max(soundTime_, now);
  };
  run_->draw = [this] { DrawCab(); };
  cab_->onCabClick = [this] { run_->HandleInput(MakeInput(InputKind::ClickCab)); };
  cab_->onBackClick = [this] { run_->HandleInput(MakeInput(InputKind::Back)); };
  BuildMenus();

  pump_.setTimerType(Qt::PreciseTimer);
  pump_.setInterval(1);
  connect(&pump_, &QTimer::timeout, this, &TForm1::Pump);
}

TForm1::~TForm1() = default;

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  start1_ = bar->addAction("Start");
  connect(start1_, &QAction::triggered, this, [this] { run_->HandleInput(MakeInput(InputKind::Menu, "start1")); });
  goTo1_ = bar->addMenu("Move");
  show1_ = bar->addMenu("Display");
  struct Toggle {
    const char* name;
    const char* caption;
  };
  for (Toggle t : {Toggle{"D1", "解説なし(&D)"}, Toggle{"OFF1", "喚呼なし(&K)"}, Toggle{"OFFC1", "文字表示モード切り替え(&C)"}}) {
    QAction* a = show1_->addAction(t.caption);
    a->setObjectName(t.name);
    a->setCheckable(true);
    std::string name = t.name;
    connect(a, &QAction::triggered, this, [this, name] { run_->HandleInput(MakeInput(InputKind::Menu, name)); });
  }
  controller1_ = bar->addMenu("Controller(&C)");
  BuildControllerMenu();
  saveS1_ = bar->addMenu("Save(&S)");
}

void TForm1::BuildControllerMenu() {
  for (const TControllerMenuItem& item : kControllerMenu) {
    QAction* a = controller1_->addAction(item.Caption);
    a->setObjectName(item.Name);
    a->setCheckable(ControllerMenuCheckable(item));
    if (item.Action == ControllerMenuAction::SerialSettings) {
      connect(a, &QAction::triggered, this, [this] {
        SerialSettingsDialog dialog(*serial_, this);
        dialog.exec();
      });
      continue;
    }
    const std::string name = item.Name;
    connect(a, &QAction::triggered, this, [this, name] {
      run_->HandleInput(MakeInput(InputKind::Menu, name));
      ShowControllerChecks();
    });
  }
  ShowControllerChecks();
}

// The marks follow the run's state, not Qt's own toggling of a checkable item.
void TForm1::ShowControllerChecks() {
  for (QAction* a : controller1_->actions()) {
    if (const TControllerMenuItem* item = ControllerMenuItem(a->objectName().toStdString())) {
      a->setChecked(ControllerMenuChecked(*item, sim_->controllers));
    }
  }
}

void TForm1::FormCreate(const RunRequest& request) {
  status_ = std::make_unique<QLabel>();
  status_->setWindowTitle(kAppTitle);
  status_->setFont(JapaneseFont(12));
  status_->setMinimumWidth(420);
  status_->setAlignment(Qt::AlignCenter);
  status_->setMargin(16);
  status_->show();
  try {
    run_->FormCreate(request);
  } catch (...) {
    status_.reset();
    throw;
  }
  status_.reset();
  // The stations to jump to, in the run's menu order (the last one first).
  for (const TMoveMenuItem& item : sim_->derived.MoveMenu) {
    QAction* a = goTo1_->addAction(Q(item.Caption));
    a->setObjectName(Q(item.Name));
    const std::string name = item.Name;
    connect(a, &QAction::triggered, this, [this, name] { run_->HandleInput(MakeInput(InputKind::Menu, name)); });
  }
  const TStringFile& s = sim_->files.Strings;
  goTo1_->setTitle(Q(s.MoveCaption));
  show1_->setTitle(Q(s.DisplayCaption));
  controller1_->setTitle(Q(s.ControlCaption));
  saveS1_->setTitle(Q(s.SaveCaption));
  const TSettings& st = sim_->files.Settings;
  for (QAction* a : show1_->actions()) {
    if (a->objectName() == "D1") a->setChecked(st.InformationSetting != 0);
    if (a->objectName() == "OFF1") a->setChecked(st.KankoSetting != 0);
    if (a->objectName() == "OFFC1") a->setChecked(st.MojiSetting != 0);
  }
  // The canvas at full size where the screen allows it: the cab, the timetable card beside it.
  QSize want = CabCompositor::CanvasSize(*sim_) + QSize(0, menuBar()->sizeHint().height());
  if (QScreen* screen = QGuiApplication::primaryScreen()) want = want.boundedTo(screen->availableGeometry().size() * 0.95);
  resize(want);
  move(0, 0);
  clock_.start();
  pump_.start();
}

void TForm1::PlayScript(std::vector<ScriptEvent> events) {
  script_ = std::move(events);
  for (const ScriptEvent& e : script_) {
    run_->scheduler().At(e.ms, [this, &e] {
      if (!closed_) run_->HandleInput(e.event);
    });
  }
}

void TForm1::DrawCab() {
  compositor_.Compose(cab_->surface(), *sim_, &overlay_);
  compositor_.ComposeCanvas(cab_->canvas(), cab_->surface(), *sim_);
  cab_->update();
}

void TForm1::FormActivate() {
  if (closed_ || run_->running()) return;
  compositor_.ComposeStill(cab_->surface(), *sim_);
  compositor_.ComposeCanvas(cab_->canvas(), cab_->surface(), *sim_);
  cab_->update();
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QMainWindow::changeEvent(event);
}

void TForm1::Pump() {
  if (closed_) return;
  run_->scheduler().AdvanceTo(clock_.elapsed());
}

void TForm1::SetStatusText(const std::string& text) {
  if (!status_) return;
  status_->setText(Q(text));
  status_->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::SetStartCaption(const std::string& text) {
  if (start1_) start1_->setText(Q(text));
}

void TForm1::SetWindowOpacity(int alpha) { setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0); }

void TForm1::CloseWindow() {
  // Not from inside the idle pass that asked for it.
  QTimer::singleShot(0, this, [this] { close(); });
}

void TForm1::ShowMessage(const std::string& text) { QMessageBox::information(this, kAppTitle, Q(text)); }

void TForm1::SetWindowCaption(const std::string& text) { setWindowTitle(Q(text)); }

// A press is the key going down, then its character, as the keyboard handler and the character
// handler take them. The platform's repeat of a held key comes through as further presses (so a
// held "8" keeps notching up, as typed characters repeat), while its repeated releases are
// dropped: a held key (horn, buzzer, engine switch, current limit) lasts until it is let go.
void TForm1::keyPressEvent(QKeyEvent* event) {
  if (closed_) return;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  std::string name = KeyName(event->key());
  if (!name.empty()) {
    InputEvent down = MakeInput(InputKind::KeyDown, name);
    down.shift = shift;
    run_->HandleInput(down);
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() < 0x80) {
    run_->HandleInput(MakeInput(InputKind::Char, std::string(1, static_cast<char>(text[0].unicode()))));
  }
  event->accept();
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  if (closed_ || event->isAutoRepeat()) return;
  std::string name = KeyName(event->key());
  if (!name.empty()) {
    InputEvent up = MakeInput(InputKind::KeyUp, name);
    up.shift = event->modifiers() & Qt::ShiftModifier;
    run_->HandleInput(up);
  }
  event->accept();
}

// Each notch of the wheel is one step; a fine-grained wheel or touch pad adds up to notches.
void TForm1::wheelEvent(QWheelEvent* event) {
  if (closed_) return;
  wheelDelta_ += event->angleDelta().y();
  for (; wheelDelta_ >= kWheelStep; wheelDelta_ -= kWheelStep) run_->HandleInput(MakeInput(InputKind::WheelUp));
  for (; wheelDelta_ <= -kWheelStep; wheelDelta_ += kWheelStep) run_->HandleInput(MakeInput(InputKind::WheelDown));
  event->accept();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    pump_.stop();
    try {
      run_->FormCloseQuery();
    } catch (const LoadError& e) {
      QMessageBox::critical(this, kAppTitle, e.what());
      std::exit(1);
    }
  }
  event->accept();
}

}  // namespace kavrin
