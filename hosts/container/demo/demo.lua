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
-- The point picker: a cube of 27 pick points. A click selects one; the host
-- reads its position codes and its offsets inside a region. Its type library
-- lists only AboutBox, so the container reaches the rest late-bound.
local qube = insert("Kestrowidge.SelectQubeCtrl.1", {name = "qube", x = 300, y = 110})
print(string.format("SelectQube: class %s, size %dx%d", progid(qube), size(qube)))
for _, m in ipairs(members(qube)) do
    print(string.format("  %-8s %-12s dispid %d", m.kind, m.name, m.dispid))
end
qube:SetRegion(0, 100, 50, 0, 20, 0)
local function report(what)
    local _, cx, cy, cz = qube:GetBezug(0, 0, 0)
    local _, ox, oy, oz = qube:GetOffsets(0, 0, 0)
    print(string.format("  %s: point %d, region number %d, codes %d,%d,%d, offsets %g, %g, %g",
                        what, qube.GetSel, qube.GetReg3DSel, cx, cy, cz, ox, oy, oz))
end
on(qube, "Click", function() report("Click") end)
report("fresh")
picture(qube, "selectqube-fresh.png")
mouse(qube, "lclick", 39, 41) -- the centre of the box
mouse(qube, "lclick", 54, 72) -- the front right bottom corner
mouse(qube, "lclick", 62, 18) -- the right top receding edge
mouse(qube, "move", 31, 49)   -- the front face centre, hovered
picture(qube, "selectqube-selected-and-hovered.png")
mouse(qube, "move", -100, 0)  -- away: the hover ends
qube.defaultSel = 0x80 + 4    -- the square seen from above, its top middle
report("square")
picture(qube, "selectqube-square.png")
qube.defaultSel = 0x40 + 26   -- the cube without its axis letters
qube.Enabled = false
picture(qube, "selectqube-disabled.png")
qube.Enabled = true
qube:SetSel(-1)
report("nothing selected")

-- The view chooser: hotspots on an isometric cube and on a single face.
local views = insert("Kestrowidge.ViewmanagerCtrl.1", {name = "views", x = 300, y = 200})
on(views, "SelChanged", function(a)
    print(string.format("Viewmanager: SelChanged %d \"%s\"", a.textId, a.text))
end)
on(views, "Click", function()
    print(string.format("Viewmanager: Click, ViewIndex %d", views.ViewIndex))
end)
picture(views, "viewmanager-isometric.png")
mouse(views, "move", 60, 28)  -- the upper right corner: a turn by 90 degrees
picture(views, "viewmanager-turn-hovered.png")
mouse(views, "move", 30, 48)  -- the left face
picture(views, "viewmanager-face-hovered.png")
mouse(views, "lclick", 30, 48) -- on to the face level
mouse(views, "move", 40, 40)  -- the face's middle
mouse(views, "move", 40, 31)  -- its upper arrow
picture(views, "viewmanager-face-level.png")
mouse(views, "lclick", 40, 40) -- the face itself: view 26
mouse(views, "lclick", 22, 22) -- a corner: back to the isometric level
mouse(views, "move", -100, 0)  -- away: the text is cleared
picture(views, "viewmanager-back.png")

print(string.format("demo: wrote %d pictures into %s", written, out))
