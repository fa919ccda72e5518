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
-- The toolpath viewer: a part read from a G-code file in this folder, the
-- stock under it, its feed moves, its rapid moves dotted and a label from
-- the viewer's font lists, compiled into the viewer's display list; then
-- the three display modes.
local here = (arg[0] or ""):match("(.*/)") or "./"
local gcode = dofile(here .. "gcode.lua")
local viewer = insert("Kestrowidge.LineViewCtrl.1", {name = "lineview", x = 250, y = 110, w = 145, h = 120})
local feeds, rapids = gcode.show(viewer, here .. "part.ngc", "part.ngc")
print(string.format("LineView: %d feed and %d rapid segments, font lists from %d, point size %.5f",
                    feeds, rapids, viewer:GetFontList(), viewer:GetPointSize()))
picture(viewer, "lineview-wireframe.png")
viewer:EnableLight(1)
picture(viewer, "lineview-shaded.png")
viewer:EnableLight(0)
viewer:EnableHiddenLine(1)
picture(viewer, "lineview-hidden-line.png")
viewer:EnableHiddenLine(0)
viewer:Set2DMode(1)
picture(viewer, "lineview-2d.png")
viewer:Set2DMode(0)

print(string.format("demo: wrote %d pictures into %s", written, out))
