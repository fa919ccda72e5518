-- The container's demonstration: every control built so far, inserted,
-- exercised and pictured. The pictures go into the folder given as the first
-- argument (default ./snapshots).
--   kwcontainer hosts/container/demo/demo.lua [OUTPUT_FOLDER]
local out = arg[1] or "snapshots"
local written = 0
local function picture(c, name)
    snapshot(c, out .. "/" .. name)
    written = written + 1
end
local function hex(v) return string.format("0x%06X", v) end

-- The lamp: rows red, green, yellow, blue; columns the two shapes in the
-- modes dark, lit, unavailable and blinking.
local colours = {"red", "green", "yellow", "blue"}
local lamps = {}
for colour = 0, 3 do
    for shape = 0, 1 do
        for mode = 0, 3 do
            local c = insert("Kestrowidge.LedCtrl.1", {
                name = string.format("led_%s_%d_%d", colours[colour + 1], shape, mode),
                x = 6 + (4 * shape + mode) * 24, y = 6 + colour * 24})
            c.Color = colour
            c.Shape = shape
            c:SetMode(mode)
            lamps[#lamps + 1] = c
        end
    end
end
local first = lamps[1]
print(string.format("Led: %d lamps, class %s %s, size %dx%d", #lamps, progid(first),
                    clsid(first), size(first)))
for _, m in ipairs(members(first)) do
    print(string.format("  %-8s %-12s %-12s dispid %d", m.kind, m.name, m.runtime, m.dispid))
end
print("  about: " .. table.concat(about(first), " / "))

picture(nil, "led-all-modes.png")
advance(500)
picture(nil, "led-all-modes-blink-phase2.png")

-- A flash: lit for 300 ms, then dark.
local flash = lamps[1]
flash:SetMode(4)
print(string.format("flash at %d ms: Mode %d, centre %s", now(), flash.Mode, hex(pixel(flash, 6, 6))))
picture(nil, "led-flash-lit.png")
advance(300)
print(string.format("flash at %d ms: Mode %d, centre %s", now(), flash.Mode, hex(pixel(flash, 6, 6))))
picture(nil, "led-flash-over.png")

-- Save one lamp and the whole form, and load the lamp back as a new one.
local blue = lamps[#lamps]
save(blue, out .. "/led-blue.json")
local copy = load(out .. "/led-blue.json", {name = "copy", x = 220, y = 6})
print(string.format("loaded %s: Color %d, Shape %d, Mode %d", tostring(copy), copy.Color,
                    copy.Shape, copy.Mode))
saveform(out .. "/form.json")
reset(copy)
print(string.format("reset %s: Color %d, Shape %d, Mode %d", tostring(copy), copy.Color,
                    copy.Shape, copy.Mode))
picture(copy, "led-reset.png")

-- The numeric entry field in a few of its configurations, each pictured.
local fields = {}
local function field(name, y, setup)
    local c = insert("Kestrowidge.SpinEditCtrl.1", {name = name, x = 6, y = y, w = 240, h = 24})
    setup(c)
    fields[#fields + 1] = c
    on(c, "ValueChanged", function()
        local _, v = c:GetVal(0, -1)
        print(string.format("%s: ValueChanged, value %g", name, v))
    end)
    on(c, "UnitChanged", function(a)
        print(string.format("%s: UnitChanged %d -> %d", name, a.oldUnit, a.newUnit))
    end)
    return c
end
local feed = field("spin_label", 110, function(c)
    c.Label = "Vorschub"; c.LabelWidth = 60; c.UnitText = "a$1"
    c:SetVal(1250.5, -1)
end)
local inch = field("spin_units", 140, function(c)
    c.Label = "X:"; c.Units = 1 + 4; c.UnitText = "a$3c$4"
    c:SetVal(1, 4) -- one inch, shown in millimetres
end)
local angle = field("spin_angle", 170, function(c)
    c.Label = "A:"; c.Units = 32 + 64; c.DefaultUnit = 5; c.UnitText = "f$1g$5"
    c:SetVal(180, -1)
end)
local absrel = field("spin_absrel", 200, function(c)
    c.Label = "Z:"; c.Flags = 4 + 0x80
    c:SetVal(100, -1); c:SetOffset(10)
end)
local disabled = field("spin_disabled", 230, function(c)
    c.Label = "Sperre"; c.LabelWidth = 50
    c:SetVal(42, -1); c.Enabled = false
end)
local unset = field("spin_unset", 260, function(c)
    c.Label = "Y:"; c.Flags = 4 + 0x100
end)
picture(nil, "spinedit-configurations.png")
print(string.format("spinedit: %s | %s | %s | %s | %s | %s", feed.Value, inch.Value, angle.Value,
                    absrel.Value, disabled.Value, tostring(unset.Value)))

-- The unit button switches the display unit: degrees to radians.
mouse(angle, "lclick", 220, 12)
picture(angle, "spinedit-angle-radians.png")
-- Absolute to relative: the value reads as its distance from the reference.
mouse(absrel, "lclick", 225, 12)
picture(absrel, "spinedit-relative.png")
-- A spin button held down: one step at once, one more every 300 ms.
mouse(feed, "ldown", 191, 5)
picture(feed, "spinedit-spin-pressed.png")
advance(300)
mouse(feed, "lup", 191, 5)
print(string.format("spin_label after the up button: %g", feed.Value))

-- Typing an expression: the entry box opens over the value field, Enter
-- evaluates it and the field stores the result in its value unit (inches).
key(inch, "char", "2")
key(inch, "char", "*")
key(inch, "char", "3")
picture(inch, "spinedit-editing.png")
key(inch, "press", "VK_RETURN")
local ok, inches = inch:GetVal(0, 4)
local _, mm = inch:GetVal(0, 1)
print(string.format("spin_units after typing 2*3 mm: %.6f inch (%g mm)", inches, mm))
picture(inch, "spinedit-entered.png")
-- A typing mistake: the message box names the field, the value stays.
key(feed, "char", "2")
key(feed, "char", "+")
key(feed, "press", "VK_RETURN")
print(string.format("spin_label after a mistake: %g", feed.Value))

-- Mistakes are reported, and a script may catch them.
print("caught: " .. select(2, pcall(function() first.Colour = 1 end)))
-- The blinking labels, in the right-hand column: one blinks its text, one
-- its background, one both, all on their one timer of 500 ms. Each is
-- pictured in both phases, and its background read back.
local ole = {red = 0x0000FF, blue = 0xFF0000, yellow = 0x00FFFF, green = 0x008000,
             white = 0xFFFFFF, black = 0x000000}
local function label(name, y, caption)
    local c = insert("Kestrowidge.ColorStaticCtrl.1", {name = name, x = 262, y = y, w = 132, h = 20})
    c.Caption = caption
    return c
end
local blinkText = label("label_text", 6, "Not-Aus gedrückt")
blinkText:SetBlinkTextColors(ole.red, ole.blue)
blinkText:StartTextBlink(true, 500)
local blinkBack = label("label_back", 30, "Vorschub halt")
blinkBack:SetBlinkBkColors(ole.yellow, ole.green)
blinkBack:StartBkBlink(true, 500)
local blinkBoth = label("label_both", 54, "Störung Achse Z")
blinkBoth:SetBlinkTextColors(ole.black, ole.white)
blinkBoth:SetBlinkBkColors(ole.yellow, ole.red)
blinkBoth:StartTextBlink(true, 500)
blinkBoth:StartBkBlink(true, 500)
local labels = {text = blinkText, back = blinkBack, both = blinkBoth}
for phase = 1, 2 do
    local backs = {}
    for _, which in ipairs({"text", "back", "both"}) do
        picture(labels[which], string.format("colorstatic-%s-phase%d.png", which, phase))
        backs[#backs + 1] = which .. " " .. hex(pixel(labels[which], 130, 18))
    end
    print(string.format("colorstatic at %d ms: backgrounds %s", now(), table.concat(backs, ", ")))
    advance(500)
end
blinkText:StartTextBlink(false, 500)
print("colorstatic: label_text stopped, its ForeColor again")
picture(blinkText, "colorstatic-stopped.png")

-- The switches below them: each state word, clicked left and right, and
-- disabled; every click is printed.
local switches, byName = {}, {}
local function switch(progid, name, x, y, mode, opts)
    opts = opts or {}
    local c = insert(progid, {name = name, x = x, y = y, w = opts.w, h = opts.h})
    c.Mode = mode
    on(c, "Click", function()
        print(string.format("%s: Click, Mode 0x%02X, GetCheck %d", name, c.Mode, c:GetCheck()))
    end)
    switches[#switches + 1] = name
    byName[name] = c
end
switch("Kestrowidge.SwitchCtrl.1", "switch_off", 262, 84, 0)
switch("Kestrowidge.SwitchCtrl.1", "switch_on", 282, 84, 1)
switch("Kestrowidge.SwitchCtrl.1", "switch_special", 302, 84, 4)
switch("Kestrowidge.SwitchCtrl.1", "switch_disabled", 322, 84, 1)
switch("Kestrowidge.SwitchCtrl.1", "switch_left", 342, 84, 2)
switch("Kestrowidge.SwitchCtrl.1", "switch_right", 362, 84, 2)
switch("Kestrowidge.PolCtrl.1", "pol_off", 262, 108, 0)
switch("Kestrowidge.PolCtrl.1", "pol_on", 298, 108, 1)
switch("Kestrowidge.PolCtrl.1", "pol_disabled", 334, 108, 1)
switch("Kestrowidge.PolCtrl.1", "pol_narrow_off", 262, 126, 0x10, {w = 16, h = 34})
switch("Kestrowidge.PolCtrl.1", "pol_narrow_on", 282, 126, 0x12, {w = 16, h = 34})
byName.switch_disabled.Enabled = false
byName.pol_disabled.Enabled = false
mouse(byName.switch_left, "lclick", 8, 9)  -- bit 1 set: the left click turns it on
mouse(byName.switch_right, "rclick", 8, 9) -- the special state, bits 2 and 3
mouse(byName.pol_narrow_on, "lclick", 8, 17) -- the narrow strip, turned on
local words = {}
for _, name in ipairs(switches) do
    picture(byName[name], name .. ".png")
    words[#words + 1] = string.format("%s 0x%02X", name, byName[name].Mode)
end
print("switches: " .. table.concat(words, ", "))

print(string.format("demo: wrote %d pictures into %s", written, out))
