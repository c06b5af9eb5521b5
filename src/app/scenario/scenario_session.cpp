#include "app/scenario/scenario_session.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "about/frm_about.h"
#include "app/scenario/model_properties.h"
#include "app/scenario/script_numbers.h"
#include "app/scenario/script_text.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace qx::scenario {

namespace {

std::string FloatText(float v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::optional<int> ParseIndex(const std::string& expr, const std::string& name) {
    if (expr.rfind(name + "[", 0) != 0 || expr.back() != ']') return std::nullopt;
    auto n = parseNumber(expr.substr(name.size() + 1, expr.size() - name.size() - 2));
    if (!n || !(*n >= 0 && *n < kHistorySlots) || *n != static_cast<int>(*n)) {
        throw ScriptError{"bad index in " + expr};
    }
    return static_cast<int>(*n);
}

const std::pair<const char*, double MemoryInfo::*> kMemoryFields[] = {
    {"TotalPhysical", &MemoryInfo::TotalPhysical}, {"FreePhysical", &MemoryInfo::FreePhysical},
    {"UsedPhysical", &MemoryInfo::UsedPhysical},   {"TotalPagefile", &MemoryInfo::TotalPagefile},
    {"FreePagefile", &MemoryInfo::FreePagefile},   {"UsedPagefile", &MemoryInfo::UsedPagefile},
    {"TotalVirtual", &MemoryInfo::TotalVirtual},   {"FreeVirtual", &MemoryInfo::FreeVirtual},
    {"UsedVirtual", &MemoryInfo::UsedVirtual}};

const std::pair<const char*, double CpuUsage::*> kCpuFields[] = {
    {"UserTime", &CpuUsage::UserTime},   {"KernelTime", &CpuUsage::KernelTime},
    {"IdleTime", &CpuUsage::IdleTime},   {"TotalTime", &CpuUsage::TotalTime},
    {"BusyPercent", &CpuUsage::BusyPercent}};

}  // namespace

ScenarioSession::ScenarioSession(std::ostream& out)
    : out_(out),
      scheduler_(dispatcher_),
      system_(out, [this] { return scheduler_.now(); }),
      host_(system_),
      memory_(system_) {
    // The timers go on ticking while a message box is open; if one of their
    // handlers ends the program, the handler that opened the box ends too.
    system_.holdOpen = [this](std::int64_t ms) {
        scheduler_.advance(ms);
        if (dispatcher_.ended()) throw ProcessExit{};
    };
    dispatcher_.setOnWarn([this](std::string_view line) { system_.warn(line); });
    system_.schedule = [this](std::int64_t ms, std::function<void()> event) {
        scheduler_.schedule(ms, std::move(event));
    };
}

ScenarioSession::~ScenarioSession() = default;

FrmMain& ScenarioSession::main() {
    if (!main_) throw ScriptError{"the program has not been started (use start)"};
    return *main_;
}

int ScenarioSession::run(std::istream& script, std::ostream& err) {
    std::string text;
    int number = 0;
    ScriptLines lines(script);
    const auto refuse = [&](std::string_view why) {
        err << "quendax-sim: line " << number << ": " << EscapeControls(why) << '\n';
        return 2;
    };
    // Whatever goes wrong with a line, reading it included, ends the run
    // with a message and status 2, never with an abort.
    try {
        while (!ended()) {
            ++number;
            if (!lines.next(text)) break;
            auto line = parseLine(text);
            if (!line) continue;
            if (!execute(*line)) break;
            out_.flush();
        }
    } catch (const ScriptError& e) {
        return refuse(e.message);
    } catch (const std::exception& e) {
        return refuse(e.what());
    }
    return 0;
}

bool ScenarioSession::execute(const ScriptLine& line) {
    const std::string& cmd = line.command;
    const auto& a = line.args;
    auto need = [&](std::size_t n) {
        if (a.size() != n) throw ScriptError{cmd + " takes " + std::to_string(n) + " argument(s)"};
    };
    auto number = [&](const std::string& text) { return ScriptNumber(text); };

    if (cmd == "mem") {
        setMemory(line, system_.extended);
    } else if (cmd == "legacy") {
        setMemory(line, system_.legacy);
    } else if (cmd == "cpu") {
        if (a.empty()) throw ScriptError{"cpu takes idle=N kernel=N user=N"};
        for (const auto& word : a) {
            auto kv = splitAssignment(word);
            if (!kv) throw ScriptError{"expected KEY=VALUE: " + word};
            const std::uint64_t v = ScriptCount(kv->first, kv->second);
            if (kv->first == "idle") system_.times.idle = v;
            else if (kv->first == "kernel") system_.times.kernel = v;
            else if (kv->first == "user") system_.times.user = v;
            else throw ScriptError{"unknown key: " + kv->first};
        }
    } else if (cmd == "fail" || cmd == "heal") {
        failOrHeal(line, cmd == "fail");
    } else if (cmd == "twips-per-pixel") {
        need(1);
        twipsPerPixel_ = number(a[0]);
        if (twipsPerPixel_ <= 0) throw ScriptError{"twips per pixel must be positive"};
        if (main_) main_->setTwipsPerPixel(twipsPerPixel_);
    } else if (cmd == "msgbox-hold") {
        need(1);
        system_.messageBoxHoldMs = static_cast<std::int64_t>(ScriptNumberIn("msgbox-hold", a[0], 0, maxStepMs));
    } else if (cmd == "block-ms") {
        need(1);
        system_.blockMs = static_cast<std::int64_t>(ScriptNumberIn("block-ms", a[0], 0, maxStepMs));
    } else if (cmd == "reg") {
        need(4);
        RegistryValue value;
        value.type = static_cast<std::uint32_t>(ScriptNumberIn("registry type", a[2], 0, 4294967295.0));
        value.data = a[3];
        if (value.type == 1) value.data.push_back('\0');
        system_.registry[{a[0], a[1]}] = value;
    } else if (cmd == "reg-clear") {
        need(0);
        system_.registry.clear();
    } else if (cmd == "file") {
        need(1);
        system_.files.insert(a[0]);
    } else if (cmd == "start") {
        if (main_) throw ScriptError{"the program is already running"};
        std::string text = line.rest;
        if (a.size() == 1 && !text.empty() && text.front() == '"') text = a[0];
        system_.commandLineText = text;
        main_ = std::make_unique<FrmMain>(system_, memory_);
        events_ = std::make_unique<MainWindowEvents>(*main_);
        events_->prepare("", twipsPerPixel_);
        main_->host = &host_;
        scheduler_.adopt(*main_);
        // The simulated window system paints nothing by itself.
        events_->start(dispatcher_, FirstPaint::AfterLoad);
    } else if (cmd == "advance") {
        need(1);
        const double ms = number(a[0]);
        if (ms < 0) throw ScriptError{"advance takes a time that is not negative"};
        ScriptNumberIn("advance", a[0], 0, maxStepMs);
        scheduler_.advance(static_cast<std::int64_t>(ms));
    } else if (cmd == "click") {
        need(1);
        FrmMain& m = main();
        if (ui::MenuItem* item = m.findMenu(a[0])) {
            deliver([&] { m.clickMenu(*item); });
        } else if (FrmAbout* box = m.about(); box && box->findControl(a[0])) {
            deliver([&] { box->clickButton(*box->findControl(a[0])); });
        } else {
            throw ScriptError{"no menu entry or button named " + a[0]};
        }
    } else if (cmd == "key") {
        need(1);
        main();
        static const char* const kKeys[] = {"Ctrl+F", "Ctrl+U", "Ctrl+T", "Ctrl+H",
                                            "Ctrl+Q", "F1",     "Enter",  "Esc"};
        bool known = false;
        for (const char* k : kKeys) known = known || a[0] == k;
        if (!known) throw ScriptError{"unknown key: " + a[0]};
        deliver([&] { events_->key(a[0]); });
    } else if (cmd == "dblclick") {
        need(1);
        FrmMain& m = main();
        if (a[0] == "frmMain") {
            deliver([&] { m.doubleClick(nullptr); });
        } else if (ui::Control* c = m.findControl(a[0])) {
            deliver([&] { m.doubleClick(c); });
        } else {
            throw ScriptError{"no control named " + a[0]};
        }
    } else if (cmd == "resize") {
        need(2);
        FrmMain& m = main();
        m.setClientSize(number(a[0]), number(a[1]));
        deliver([&] { m.Form_Resize(); });
        // A new size is repainted by the window system.
        if (!ended() && m.visible()) deliver([&] { events_->paintHistory(); });
    } else if (cmd == "minimize" || cmd == "restore") {
        need(0);
        FrmMain& m = main();
        deliver([&] { m.setWindowState(cmd == "minimize" ? ui::kMinimized : ui::kNormal); });
    } else if (cmd == "close") {
        need(1);
        FrmMain& m = main();
        if (a[0] == "frmMain") {
            deliver([&] { events_->closeBox(m); });
        } else if (a[0] == "frmAbout") {
            if (FrmAbout* box = m.about()) deliver([&] { events_->closeBox(*box); });
        } else {
            throw ScriptError{"no window named " + a[0]};
        }
    } else if (cmd == "tray") {
        need(1);
        main();
        const double code = ScriptNumberIn("tray code", a[0], -2147483648.0, 2147483647.0);
        // Only an icon that is there can be clicked.
        if (system_.trayIconPresent()) {
            deliver([&] { events_->trayMessage(code); });
        }
    } else if (cmd == "tray-host") {
        need(1);
        if (a[0] != "gone" && a[0] != "back") throw ScriptError{"tray-host takes gone or back"};
        const bool present = a[0] == "back";
        system_.setTrayHost(present);
        // Before the start there is nobody to tell.
        if (main_) deliver([&] { main_->TrayHost_Change(present); });
    } else if (cmd == "taskbar-created") {
        need(0);
        main();
        if (system_.taskbarCreated()) deliver([&] { events_->trayAddedAgain(); });
    } else if (cmd == "set") {
        if (a.size() != 2) throw ScriptError{"set takes NAME.PROPERTY VALUE"};
        set(a[0], a[1]);
    } else if (cmd == "print") {
        need(1);
        print(a[0]);
    } else if (cmd == "paint") {
        need(0);
        const auto* ops = host_.lastPaint("picHist");
        if (ops) {
            for (const auto& op : *ops) out_ << op << '\n';
        }
    } else {
        throw ScriptError{"unknown command: " + cmd};
    }
    return !ended();
}

void ScenarioSession::setMemory(const ScriptLine& line, MemoryStatusEx& status) {
    if (line.args.empty()) throw ScriptError{line.command + " takes KEY=VALUE..."};
    for (const auto& word : line.args) {
        auto kv = splitAssignment(word);
        if (!kv) throw ScriptError{"expected KEY=VALUE: " + word};
        const std::uint64_t v = ScriptCount(kv->first, kv->second);
        if (kv->first == "total_phys") status.totalPhys = v;
        else if (kv->first == "avail_phys") status.availPhys = v;
        else if (kv->first == "total_pagefile") status.totalPageFile = v;
        else if (kv->first == "avail_pagefile") status.availPageFile = v;
        else if (kv->first == "total_virtual") status.totalVirtual = v;
        else if (kv->first == "avail_virtual") status.availVirtual = v;
        else throw ScriptError{"unknown key: " + kv->first};
    }
}

void ScenarioSession::failOrHeal(const ScriptLine& line, bool fail) {
    if (line.args.size() != 1) throw ScriptError{line.command + " takes one name"};
    const std::string& name = line.args[0];
    static const char* const kNames[] = {"memstatus", "alloc", "tray", "start", "topmost", "cputimes"};
    bool known = false;
    for (const char* n : kNames) known = known || name == n;
    if (!known) throw ScriptError{"unknown operation: " + name};
    if (fail) system_.failing.insert(name); else system_.failing.erase(name);
}

std::string ScenarioSession::formVariable(const std::string& expr) {
    FrmMain& m = main();
    if (expr == "OldBarsPending") return m.OldBarsPending != 0 ? "True" : "False";
    if (expr == "HistoryIndex") return std::to_string(m.HistoryIndex);
    if (expr == "UseLegacyStatus") return std::to_string(memory_.UseLegacyStatus);
    if (auto i = ParseIndex(expr, "FreeHistory")) return FloatText(m.FreeHistory[*i]);
    if (auto i = ParseIndex(expr, "IdleHistory")) return FloatText(m.IdleHistory[*i]);
    for (const auto& [name, field] : kMemoryFields) {
        if (expr == std::string("MemInfo.") + name) return ShortestText(m.MemInfo.*field);
    }
    for (const auto& [name, field] : kCpuFields) {
        if (expr == std::string("CpuInfo.") + name) return ShortestText(m.CpuInfo.*field);
    }
    if (expr == "TrayData.hIcon") return m.TrayData.hIcon;
    return {};
}

void ScenarioSession::print(const std::string& expr) {
    std::string value = formVariable(expr);
    if (value.empty()) {
        const std::size_t dot = expr.find('.');
        if (dot == std::string::npos) throw ScriptError{"cannot print " + expr};
        const std::string owner = expr.substr(0, dot);
        std::string property = expr.substr(dot + 1);
        FrmMain& m = main();
        std::optional<PropertyValue> v;
        if (owner == "frmMain") {
            v = getProperty(static_cast<ui::Form&>(m), property);
        } else if (owner == "frmAbout") {
            FrmAbout* box = m.about();
            const std::size_t dot2 = property.find('.');
            if (dot2 != std::string::npos) {
                if (!box) throw ScriptError{"the About box is not open: " + expr};
                ui::Control* c = box->findControl(property.substr(0, dot2));
                if (c) v = getProperty(*c, property.substr(dot2 + 1));
            } else if (property == "Loaded") {
                v = PropertyValue::of(box != nullptr);
            } else {
                if (!box) throw ScriptError{"the About box is not open: " + expr};
                v = getProperty(static_cast<ui::Form&>(*box), property);
            }
        } else if (ui::Control* c = m.findControl(owner)) {
            v = getProperty(*c, property);
        } else if (ui::Timer* t = m.findTimer(owner)) {
            v = getProperty(*t, property);
        } else if (ui::MenuItem* item = m.findMenu(owner)) {
            v = getProperty(*item, property);
        }
        if (!v) throw ScriptError{"cannot print " + expr};
        value = v->format();
    }
    out_ << EscapeControls(expr) << " = " << EscapeControls(value) << '\n';
}

void ScenarioSession::set(const std::string& target, const std::string& value) {
    FrmMain& m = main();
    const std::size_t dot = target.find('.');
    if (dot == std::string::npos) {
        if (target == "OldBarsPending") {
            auto b = parseBoolean(value);
            if (!b) throw ScriptError{"not a boolean: " + value};
            m.OldBarsPending = *b ? -1 : 0;
            return;
        }
        if (target == "HistoryIndex") {
            auto n = parseNumber(value);
            if (!n || !(*n >= 0 && *n < kHistorySlots)) throw ScriptError{"bad index: " + value};
            m.HistoryIndex = static_cast<std::int16_t>(*n);
            return;
        }
        for (const char* ring : {"FreeHistory", "IdleHistory"}) {
            if (auto i = ParseIndex(target, ring)) {
                // A history slot is a single-precision number.
                const double n = ScriptNumber(value);
                if (std::fabs(n) > std::numeric_limits<float>::max()) {
                    throw ScriptError{"too large for a history slot: " + value};
                }
                (target[0] == 'F' ? m.FreeHistory : m.IdleHistory)[*i] = static_cast<float>(n);
                return;
            }
        }
        throw ScriptError{"cannot set " + target};
    }
    const std::string owner = target.substr(0, dot);
    const std::string property = target.substr(dot + 1);
    bool ok = false;
    try {
        if (owner == "frmMain") ok = setProperty(static_cast<ui::Form&>(m), property, value);
        else if (ui::Control* c = m.findControl(owner)) ok = setProperty(*c, property, value);
        else if (ui::Timer* t = m.findTimer(owner)) ok = setProperty(*t, property, value);
        else if (ui::MenuItem* item = m.findMenu(owner)) ok = setProperty(*item, property, value);
    } catch (const RuntimeError& e) {
        throw ScriptError{"cannot set " + target + " to " + value + ": " + e.what()};
    }
    if (!ok) throw ScriptError{"cannot set " + target + " to " + value};
}

}  // namespace qx::scenario
