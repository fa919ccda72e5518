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
-- The picture buttons: pictures come from the stock icon set, through a
-- launcher's stored form (a script has no picture files of its own).
local stockSource = insert("Kestrowidge.BmpButton2Ctrl.1",
                           {name = "stock_source", x = 364, y = 264, w = 32, h = 32})
local function stockPicture(index)
    stockSource.IconIndex = index
    stockSource.SymSize = 1
    local path = out .. "/stock-icon.json"
    save(stockSource, path)
    local f = assert(io.open(path))
    local text = f:read("a")
    f:close()
    return assert(text:match('"Static Picture": "([^"]*)"'), "no stock picture")
end
local spindle, gear = stockPicture(15), stockPicture(4)
local function pictureButton(name, x, y, w, h, hover)
    local path = out .. "/" .. name .. ".json"
    local f = assert(io.open(path, "w"))
    f:write(string.format('{"format": "kestrowidge-control", "version": 1, ' ..
                          '"class": "Kestrowidge.BmpButton1Ctrl.1", "properties": ' ..
                          '{"Static Picture": "%s", "Hoover Picture": "%s"}}', spindle,
                          hover and gear or ""))
    f:close()
    return load(path, {name = name, x = x, y = y, w = w, h = h})
end

local clicks = 0
local spindleButton = pictureButton("bmp_spindle", 256, 6, 136, 48, true)
spindleButton.StaticText = "Spindel"
spindleButton.HooverText = "Spindel an"
spindleButton.PushText = "l\xC3\xA4uft"
spindleButton.HooverColor = 0x0000C0
spindleButton.PushColor = 0x008000
spindleButton.Spacing = 4
on(spindleButton, "Click", function() clicks = clicks + 1 end)
picture(spindleButton, "bmpbutton1-rest.png")
mouse(spindleButton, "move", 60, 20)
picture(spindleButton, "bmpbutton1-hover.png")
mouse(spindleButton, "ldown", 60, 20)
picture(spindleButton, "bmpbutton1-pushed.png")
mouse(spindleButton, "lup", 60, 20)
mouse(spindleButton, "move", -50, 20)
spindleButton.Flags = 0x10
picture(spindleButton, "bmpbutton1-flat.png")
spindleButton.Flags = 0
spindleButton.Enabled = false
picture(spindleButton, "bmpbutton1-disabled.png")
spindleButton.Enabled = true
print(string.format("BmpButton1: %d click, class %s, size %dx%d", clicks, progid(spindleButton),
                    size(spindleButton)))

-- Every alignment code with a picture and a text, on a taller button.
local names = {"left", "center", "right", "top", "bottom", "group", "textcenter"}
local aligned = pictureButton("bmp_align", 256, 110, 136, 84, false)
aligned.Spacing = 2
aligned.StaticText = "Vorschub"
for align = 0, 6 do
    aligned.Align = align
    picture(aligned, string.format("bmpbutton1-align%d-%s.png", align, names[align + 1]))
end

-- Auto-repeat: held for one second, Click at 500, 700 and 900 ms.
spindleButton.EnableAutorepeat = true
clicks = 0
mouse(spindleButton, "ldown", 60, 20)
advance(1000)
mouse(spindleButton, "lup", 60, 20)
mouse(spindleButton, "move", -50, 20)
print(string.format("BmpButton1: held 1000 ms with auto-repeat, %d clicks", clicks))

-- The launcher without a command: the stock icon of its index; a click
-- only fires Click.
local launcher = insert("Kestrowidge.BmpButton2Ctrl.1", {name = "launcher", x = 256, y = 60, w = 40, h = 40})
launcher.IconIndex = 1
launcher.SymSize = 1
on(launcher, "Click", function() print("launcher: Click") end)
picture(launcher, "bmpbutton2-stock-icon.png")
mouse(launcher, "lclick", 20, 20)

print(string.format("demo: wrote %d pictures into %s", written, out))
