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
-- The curve editor: a host fills three points, the operator adds two with
-- clicks and, with the Y-Lock bit, drags one along x; every move of the
-- drag fires Changed with the selected index. The pictures sit at the
-- form's right edge, where the sections above leave room.
local curve = insert("Kestrowidge.CurveCtrl.1", {name = "curve", x = 255, y = 10, w = 140, h = 100})
curve.Points = 5; curve.Flags = 2; curve.Xaxis = "mm"; curve.Yaxis = "%"
curve:SetPoint(0, 0, 0); curve:SetPoint(1, 10, 0.3); curve:SetPoint(2, 20, 0.6)
on(curve, "Changed", function(a) print(string.format("curve: Changed, point %d", a.arg1)) end)
picture(curve, "curve-host-points.png")
mouse(curve, "lclick", 126, 20) -- past the last point: added at x 21.2
mouse(curve, "lclick", 74, 62) -- added at x 10.8 (a host sets them in order)
picture(curve, "curve-clicked.png")
mouse(curve, "ldown", 121, 21)
mouse(curve, "move", 110, 22, {buttons = "l"})
mouse(curve, "move", 95, 25, {buttons = "l"})
picture(curve, "curve-dragging.png")
mouse(curve, "lup", 95, 25)
picture(curve, "curve-dragged.png")
for i = 0, curve.Points - 1 do
    local _, x, y = curve:GetPoint(i, 0, 0)
    print(string.format("curve: point %d at (%.2f, %.3f)", i, x, y))
end
move(curve, -1000, -1000) -- out of the way of the sections below

-- The seven-segment read-out in its three sizes, counting over virtual time.
local function digit(name, y, w, h, flags, size, format)
    local c = insert("Kestrowidge.DigitCtrl.1", {name = name, x = 255, y = y, w = w, h = h})
    c.Format = format; c.Flags = flags; c.MaxSize = size
    return c
end
local big = digit("digit_big", 120, 132, 40, 2, 4, "%4.1f")
local medium = digit("digit_medium", 165, 98, 21, 0, 6, "%6.2f")
local small = digit("digit_small", 190, 86, 16, 4, 7, "%7.3f")
for step = 0, 12 do
    local v = step * 0.75
    big:SetVal(v); medium:SetVal(v * 10); small:SetVal(-v)
    if step % 6 == 0 then
        picture(big, string.format("digit-big-%02d.png", step))
        picture(medium, string.format("digit-medium-%02d.png", step))
        picture(small, string.format("digit-small-%02d.png", step))
    end
    advance(100)
end
print(string.format("digit: after %d ms big %s, medium %s, small %s", now(), big:GetVal(),
                    medium:GetVal(), small:GetVal()))
-- Zero padding of a value that is not negative; a negative one stays blank.
medium.Flags = 1; medium.Format = "%6.1f"; medium:SetVal(42.5)
picture(medium, "digit-zero-padding.png")
medium:SetVal(-4.5)
picture(medium, "digit-zero-padding-negative.png")
-- A value too long for its text, and a format the read-out refuses.
medium.Flags = 0; medium.Format = "%f"; medium:SetVal(1e20)
picture(medium, "digit-too-long.png")
medium.Format = "%s"; medium:SetVal(1)
picture(medium, "digit-refused-format.png")
-- Uninitialized until the first value, the error look, the disabled look.
medium.Format = "%6.2f"; medium.Flags = 8
picture(medium, "digit-uninitialized.png")
medium:SetVal(1)
medium.Flags = 16
picture(medium, "digit-error.png")
medium.Flags = 0
enable(medium, false)
picture(medium, "digit-disabled.png")
enable(big, false)
picture(big, "digit-big-disabled.png") -- cut from the small disabled strip
for _, c in ipairs({big, medium, small}) do move(c, -1000, -1000) end
-- The jog pad: each of its five layouts at rest, hovered, pressed with the
-- left button (green) and the right (red), keyed (red until half a second
-- after the key-up) and disabled. Each pad sits alone in the form's free
-- corner and is removed after its pictures.
local pads = {
    {name = "xyz", w = 83, h = 66, x = 32, y = 11},      -- Y+
    {name = "rotation", w = 46, h = 46, x = 12, y = 33}, -- turn +
    {name = "ab", w = 65, h = 66, x = 32, y = 11},       -- Y+ (A), fourth axis + (B)
    {name = "xy", w = 65, h = 66, x = 32, y = 11},       -- Y+
    {name = "z", w = 65, h = 54, x = 32, y = 31},        -- every axis +
}
for mode, p in ipairs(pads) do
    local c = insert("Kestrowidge.PosCtrl.1",
                     {name = "pos_" .. p.name, x = 300, y = 200, w = p.w, h = p.h})
    c.Mode = mode - 1
    local function shot(state) picture(c, "pos-" .. p.name .. "-" .. state .. ".png") end
    shot("rest")
    mouse(c, "move", p.x, p.y)
    shot("hover")
    mouse(c, "ldown", p.x, p.y)
    shot("left")
    mouse(c, "lup", p.x, p.y)
    mouse(c, "rdown", p.x, p.y)
    shot("right")
    mouse(c, "rup", p.x, p.y)
    mouse(c, "move", -20, -20) -- away: the hover ends
    key(c, "press", "VK_LEFT")
    shot("keyed")
    advance(500)
    enable(c, false)
    shot("disabled")
    remove(c)
end

-- A scripted jog on the XYZ pad, with the events the host hears.
local jog = insert("Kestrowidge.PosCtrl.1", {name = "pos_jog", x = 300, y = 200})
on(jog, "StartPos", function(a) print(string.format("jog: StartPos 0x%03X", a.val)) end)
on(jog, "StopPos", function() print("jog: StopPos") end)
on(jog, "PosRel", function(a) print(string.format("jog: PosRel 0x%03X", a.val)) end)
print("jog: left click on Z+, right click on X-")
mouse(jog, "lclick", 71, 11)
mouse(jog, "rclick", 9, 33)
print("jog: Shift+Left, then Ctrl+Up held for 300 ms")
key(jog, "press", "VK_LEFT", {shift = true})
key(jog, "down", "VK_CONTROL")
key(jog, "down", "VK_UP")
advance(300)
key(jog, "up", "VK_UP")
key(jog, "up", "VK_CONTROL")
print("jog: Ctrl+Right held while the focus goes elsewhere")
key(jog, "down", "VK_CONTROL")
key(jog, "down", "VK_RIGHT")
focus(fields[1])
key(fields[1], "up", "VK_RIGHT")
key(fields[1], "up", "VK_CONTROL")
print("jog: a host that removes the pad as a jog starts")
on(jog, "StartPos", function(a)
    print(string.format("jog: StartPos 0x%03X, removing the pad", a.val))
    remove(jog)
end)
mouse(jog, "ldown", 32, 11)
mouse(fields[1], "lup", 5, 5)

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


-- The acceleration ramp: the default exponential ramp and a linear one,
-- each as its ramp plot and its move profile, the profile's marker
-- following the step the machine is at over virtual time. The plots lie
-- over the form while they are pictured and leave it afterwards.
local expo = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_exp", x = 0, y = 0, w = 320, h = 200})
local linear = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_lin", x = 0, y = 0, w = 320, h = 200})
print(string.format("Acceleration: %d entries before a parameter is set, class %s, size %dx%d",
                    #expo:GetRampTable(), progid(expo), size(expo)))
for _, m in ipairs(members(expo)) do
    print(string.format("  %-8s %-12s %-12s dispid %d", m.kind, m.name, m.runtime, m.dispid))
end
expo.Vstart = 200 -- the value it has: the table is computed
local ramp = expo:GetRampTable()
print(string.format("exponential: %d entries, first %d, last %d (of B = %d Hz)", #ramp, ramp[1],
                    ramp[#ramp], expo.B))
move(linear, -10000, -10000)
picture(expo, "acceleration-exponential-ramp.png")
linear.Alpha = 10000
ramp = linear:GetRampTable()
print(string.format("linear: %d entries, first %d, %d, %d, last %d; B now %d", #ramp, ramp[1],
                    ramp[2], ramp[3], ramp[#ramp], linear.B))
move(expo, -10000, -10000)
move(linear, 0, 0)
picture(linear, "acceleration-linear-ramp.png")

-- The move profile of each; the machine steps on every 10 ms of virtual
-- time, up the ramp, then down again.
local function follow(c, name, count)
    c.Mode = 1
    local steps = {count // 4, count // 2, count - 1}
    for i, step in ipairs(steps) do
        advance(10)
        c.CurRamp = step
        picture(c, string.format("acceleration-%s-profile-%d.png", name, i))
    end
    advance(10)
    c.CurRamp = count // 3 -- falling again: the marker turns red
    picture(c, string.format("acceleration-%s-profile-%d.png", name, #steps + 1))
    print(string.format("%s profile at %d ms: step %d", name, now(), c.CurRamp))
end
follow(linear, "linear", #ramp)
move(linear, -10000, -10000)
move(expo, 0, 0)
follow(expo, "exponential", #expo:GetRampTable())

-- The host's own table: longs in, their low 16 bits back.
local ok = linear:SetRampTable(kw.array("VT_I4", {1000, 30000, 70000}))
local back = linear:GetRampTable()
print(string.format("SetRampTable: %s, read back %d, %d, %d", tostring(ok), back[1], back[2], back[3]))
print("caught: " .. select(2, pcall(function() linear:SetRampTable(kw.array("VT_I2", {1})) end)))
move(expo, -10000, -10000)

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

-- The viewer's camera: the host frames the stock with SetInitialFit and
-- Fit, the user turns the part with the middle button, fits it again with
-- the right button and zooms with the wheel about the cursor.
do
    local _, _, box = gcode.read(here .. "part.ngc")
    local s = 0.55 / math.max(box[4] - box[1], box[5] - box[2])
    local cx, cy = (box[1] + box[4]) / 2, (box[2] + box[5]) / 2
    viewer:SetInitialFit((box[1] - 5 - cx) * s, (box[4] + 5 - cx) * s, (box[5] + 5 - cy) * s,
                         (box[2] - 5 - cy) * s, -1 * s, -6 * s)
    local function report(what)
        local c = camera(viewer)
        print(string.format("LineView %s: view window %.4f %.4f %.4f %.4f, angles %.1f %.1f %.1f",
                            what, c.left, c.bottom, c.right, c.top, c.x, c.y, c.z))
    end
    report("start")
    viewer:Fit()
    report("fitted")
    picture(viewer, "lineview-fit.png")
    mouse(viewer, "mdown", 72, 60)
    mouse(viewer, "move", 82, 60)
    mouse(viewer, "move", 112, 35)
    mouse(viewer, "mup", 112, 35)
    mouse(viewer, "rclick", 72, 60)
    report("turned and fitted")
    picture(viewer, "lineview-turn.png")
    focus(viewer)
    mouse(viewer, "wheel", 100, 45, {delta = 240})
    report("two notches about (100, 45)")
    picture(viewer, "lineview-wheel.png")
end

-- The numeric field's four property pages, each pictured in its frame;
-- then a change applied through the first page.
local pagefield = insert("Kestrowidge.SpinEditCtrl.1", {name = "pagefield", x = 10, y = 500})
pagefield.Label = "Vorschub"
pagefield.Units = 0x0085
pagefield.UnitText = "a$2c$31:Grad;h$1"
local frame = properties(pagefield)
for i, title in ipairs(frame:tabs()) do
    frame:select(i)
    frame:snapshot(out .. "/spinedit-page" .. i .. ".png")
    written = written + 1
    print(string.format("SpinEdit page %d: %s", i, title))
end
frame:select(1)
frame:check(317, true)
frame:press("OK")
print(string.format("SpinEdit pages: %s, Flags 0x%04X", frame:result(), pagefield.Flags))
frame:close()
move(pagefield, -10000, -10000)
-- Every other control's property frame on a configured control, each of its
-- pages pictured: the module's own pages, then the stock font, colour and
-- picture pages of the buttons and the label.
do
    local configured = {
        {"Kestrowidge.BmpButton1Ctrl.1", {StaticText = "Spindel", Flags = 0x13, Spacing = 6}},
        {"Kestrowidge.BmpButton2Ctrl.1", {ARG = "-v", SymSize = 1}},
        {"Kestrowidge.SelectQubeCtrl.1", {defaultSel = 0xC4}},
        {"Kestrowidge.AccelerationCtrl.1", {VStart = 64, A = 120, B = 4000, Vmax = 2500}},
        {"Kestrowidge.ViewmanagerCtrl.1", {}},
        {"Kestrowidge.LedCtrl.1", {Color = 2, Shape = 1, Mode = 1}},
        {"Kestrowidge.SwitchCtrl.1", {Mode = 0x03}},
        {"Kestrowidge.ColorStaticCtrl.1", {Caption = "Not-Aus", Flags = 1}},
        {"Kestrowidge.DigitCtrl.1", {Format = "%7.3f", MaxSize = 8, Flags = 0x02}},
        {"Kestrowidge.PosCtrl.1", {Mode = 2}},
        {"Kestrowidge.PolCtrl.1", {Mode = 0x12}},
        {"Kestrowidge.CurveCtrl.1", {Points = 5, Flags = 0x01}},
        {"Kestrowidge.LineViewCtrl.1", {}},
    }
    local pages = 0
    for _, entry in ipairs(configured) do
        local c = insert(entry[1], {x = 10, y = 500})
        for name, value in pairs(entry[2]) do
            local ok, err = pcall(function() c[name] = value end)
            if not ok then print("  pages demo: " .. tostring(err)) end
        end
        local frame = properties(c)
        local short = entry[1]:match("Kestrowidge%.(%w+)Ctrl"):lower()
        for i, title in ipairs(frame:tabs()) do
            frame:select(i)
            frame:snapshot(string.format("%s/page-%s-%d.png", out, short, i))
            written = written + 1
            pages = pages + 1
            print(string.format("%s page %d: %s", short, i, title))
        end
        frame:close()
        remove(c)
    end
    print(string.format("  property pages: %d pictured", pages))
end

-- The designer's view of this form: the toolbox of every registered control
-- beside it, the property list of the selected lamp and the event log.
print(string.format("  design: %d tools in the toolbox", #design.tools()))
design.select(lamps[1])
design.snapshot(out .. "/design.png")
design.select()
written = written + 1

print(string.format("demo: wrote %d pictures into %s", written, out))
