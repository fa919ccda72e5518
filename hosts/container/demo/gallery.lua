-- The gallery: every control built so far, live in a window.
--   kwcontainer --gui hosts/container/demo/gallery.lua
-- Lamps in every colour, shape and mode (the blinking ones blink), and the
-- numeric entry field in its main configurations. Events are printed as they
-- come; close the window to end. Without --gui the form is only built.

-- The lamps: rows red, green, yellow, blue; columns the two shapes in the
-- modes dark, lit, unavailable and blinking.
for colour = 0, 3 do
    for shape = 0, 1 do
        for mode = 0, 3 do
            local c = insert("Kestrowidge.LedCtrl.1", {
                name = string.format("led_%d_%d_%d", colour, shape, mode),
                x = 10 + (4 * shape + mode) * 24, y = 10 + colour * 24})
            c.Color = colour
            c.Shape = shape
            c:SetMode(mode)
        end
    end
end
print("gallery: 32 lamps")

-- The numeric entry field in its main configurations. Click the buttons,
-- drag between the spin buttons, turn the wheel over them, or type an
-- expression such as 2*3 and press Enter.
local function field(name, y, setup)
    local c = insert("Kestrowidge.SpinEditCtrl.1", {name = name, x = 10, y = y, w = 260, h = 25})
    setup(c)
    on(c, "ValueChanged", function()
        local _, v = c:GetVal(0, -1)
        print(string.format("%s: %g", name, v))
    end)
    return c
end
field("spin_label", 120, function(c)
    c.Label = "Vorschub"; c.LabelWidth = 60; c.UnitText = "a$1"; c:SetVal(1250.5, -1)
end)
field("spin_units", 150, function(c)
    c.Units = 1 + 4; c.UnitText = "a$3c$4"; c:SetVal(1, 4)
end)
field("spin_angle", 180, function(c)
    c.Label = "A:"; c.Units = 32 + 64; c.DefaultUnit = 5; c.UnitText = "f$1g$5"; c:SetVal(90, -1)
end)
field("spin_limits", 210, function(c)
    c.Label = "Z:"; c.Flags = 4 + 0x80; c.LowLimit = 0; c.HighLimit = 10; c:SetVal(3, -1)
end)
field("spin_disabled", 240, function(c)
    c.Label = "Sperre"; c.LabelWidth = 50; c:SetVal(42, -1); c.Enabled = false
end)
field("spin_unset", 270, function(c)
    c.Label = "Y:"; c.Flags = 4 + 0x100
end)
print("gallery: 6 numeric entry fields")

-- The curve editor: click into the plot to add points (up to five), drag a
-- point along x (the Y-Lock bit is on); every move of a drag prints Changed.
local curve = insert("Kestrowidge.CurveCtrl.1", {name = "curve", x = 290, y = 10, w = 160, h = 110})
curve.Points = 5; curve.Flags = 2; curve.Xaxis = "mm"; curve.Yaxis = "%"
curve:SetPoint(0, 0, 0); curve:SetPoint(1, 10, 0.4); curve:SetPoint(2, 20, 0.7)
on(curve, "Changed", function(a)
    local _, x = curve:GetPoint(a.arg1, 0, 0)
    print(string.format("curve: point %d at x %.2f", a.arg1, x))
end)
-- The seven-segment read-out: big, medium with zero padding, small, and
-- the error, disabled and uninitialized looks.
local function digit(name, y, w, h, flags, size, format, value)
    local c = insert("Kestrowidge.DigitCtrl.1", {name = name, x = 290, y = y, w = w, h = h})
    c.Format = format; c.Flags = flags; c.MaxSize = size
    if value then c:SetVal(value) end
    return c
end
digit("digit_big", 130, 100, 40, 2, 3, "%3.1f", -7.5)
digit("digit_medium", 175, 98, 21, 1, 6, "%6.2f", 12.5)
digit("digit_small", 200, 86, 16, 4, 7, "%7.3f", -3.25)
digit("digit_error", 220, 98, 21, 16, 6, "%6.1f", 999.9)
digit("digit_disabled", 245, 98, 21, 0, 6, "%6.2f", 0.5).Enabled = false
digit("digit_unset", 270, 98, 21, 8, 6, "%6.2f")
print("gallery: a curve and 6 seven-segment read-outs")
-- The jog pads, one of each layout. Press a button with the left or the
-- right mouse button, or click a pad and use the arrow, Home, End and page
-- keys (Shift, Alt: relative steps; Ctrl: a continuous jog while held);
-- X, Y, Z, A, B and Space switch the lamps. Every event is printed.
local padPlaces = {
    {x = 470, y = 10, w = 83, h = 66}, {x = 560, y = 10, w = 46, h = 46},
    {x = 615, y = 10, w = 65, h = 66}, {x = 690, y = 10, w = 65, h = 66},
    {x = 470, y = 90, w = 65, h = 54},
}
for mode, place in ipairs(padPlaces) do
    local name = "pos_" .. (mode - 1)
    local c = insert("Kestrowidge.PosCtrl.1",
                     {name = name, x = place.x, y = place.y, w = place.w, h = place.h})
    c.Mode = mode - 1
    on(c, "StartPos", function(a) print(string.format("%s: StartPos 0x%03X", name, a.val)) end)
    on(c, "StopPos", function() print(name .. ": StopPos") end)
    on(c, "PosRel", function(a) print(string.format("%s: PosRel 0x%03X", name, a.val)) end)
end
print("gallery: 5 jog pads")

-- The point picker as a cube and as a square, and the view chooser. Click a
-- point or a hotspot; hover over the view chooser to read its texts.
local function picker(name, x, defaultSel)
    local c = insert("Kestrowidge.SelectQubeCtrl.1", {name = name, x = x, y = 90})
    c.defaultSel = defaultSel
    c:SetRegion(0, 100, 50, 0, 20, 0)
    on(c, "Click", function()
        local _, cx, cy, cz = c:GetBezug(0, 0, 0)
        local _, ox, oy, oz = c:GetOffsets(0, 0, 0)
        print(string.format("%s: point %d, region number %d, codes %d,%d,%d, offsets %g, %g, %g",
                            name, c.GetSel, c.GetReg3DSel, cx, cy, cz, ox, oy, oz))
    end)
end
picker("qube", 545, 0)
picker("square", 635, 0x80 + 8)
local views = insert("Kestrowidge.ViewmanagerCtrl.1", {name = "views", x = 725, y = 90})
on(views, "SelChanged", function(a) print(string.format("views: %d \"%s\"", a.textId, a.text)) end)
on(views, "Click", function() print(string.format("views: ViewIndex %d", views.ViewIndex)) end)
print("gallery: two point pickers and a view chooser")

-- The blinking labels in the right-hand column: text, background, both.
-- Below them the switches: click them left and right (the left one of each
-- pair toggles with left clicks; right clicks show the special picture).
local red, blue, yellow, green = 0x0000FF, 0xFF0000, 0x00FFFF, 0x008000
local function label(name, y, caption)
    local c = insert("Kestrowidge.ColorStaticCtrl.1", {name = name, x = 10, y = y, w = 180, h = 20})
    c.Caption = caption
    return c
end
local alarm = label("label_text", 310, "Not-Aus gedrückt")
alarm:SetBlinkTextColors(red, blue)
alarm:StartTextBlink(true, 500)
local hold = label("label_back", 334, "Vorschub halt")
hold:SetBlinkBkColors(yellow, green)
hold:StartBkBlink(true, 500)
local fault = label("label_both", 358, "Störung Achse Z")
fault:SetBlinkTextColors(0x000000, 0xFFFFFF)
fault:SetBlinkBkColors(yellow, red)
fault:StartTextBlink(true, 500)
fault:StartBkBlink(true, 500)
print("gallery: 3 blinking labels")

local function switch(progid, name, x, y, mode, opts)
    opts = opts or {}
    local c = insert(progid, {name = name, x = x, y = y, w = opts.w, h = opts.h})
    c.Mode = mode
    on(c, "Click", function()
        print(string.format("%s: Click, Mode 0x%02X, GetCheck %d", name, c.Mode, c:GetCheck()))
    end)
    return c
end
switch("Kestrowidge.SwitchCtrl.1", "switch_toggle", 200, 310, 2)
switch("Kestrowidge.SwitchCtrl.1", "switch_fixed", 220, 310, 1)
switch("Kestrowidge.SwitchCtrl.1", "switch_disabled", 240, 310, 1).Enabled = false
switch("Kestrowidge.PolCtrl.1", "pol_wide", 200, 334, 2)
switch("Kestrowidge.PolCtrl.1", "pol_narrow", 240, 334, 0x12, {w = 16, h = 34})
print("gallery: 3 switches, 2 polarity switches")

-- The picture buttons: hover over them, press and hold the repeating one,
-- and start a harmless program with the launcher.
local function firstProgram(candidates)
    for _, path in ipairs(candidates) do
        local f = io.open(path)
        if f then
            f:close()
            return path
        end
    end
end
local program = firstProgram({"/usr/bin/xmessage", "/usr/bin/xterm"}) or
                firstProgram({"/usr/bin/true", "/bin/true"})
local launcher = insert("Kestrowidge.BmpButton2Ctrl.1",
                        {name = "launcher", x = 10, y = 395, w = 40, h = 40})
launcher.COMMAND = program
launcher.SymSize = 1
if program:match("xmessage$") then
    launcher.ARG = "-center \"Kestrowidge: gestartet vom Launcher\""
end
on(launcher, "Click", function() print("launcher: starting " .. program) end)

-- The repeating button takes its pictures from the stock set, through a
-- launcher's stored form.
local stored = os.tmpname()
local source = insert("Kestrowidge.BmpButton2Ctrl.1",
                      {name = "stock_source", x = 60, y = 395, w = 40, h = 40})
local function stockPicture(index)
    source.IconIndex = index
    source.SymSize = 1
    save(source, stored)
    local f = assert(io.open(stored))
    local text = f:read("a")
    f:close()
    return assert(text:match('"Static Picture": "([^"]*)"'))
end
local spindle, gear = stockPicture(15), stockPicture(4)
local f = assert(io.open(stored, "w"))
f:write(string.format('{"format": "kestrowidge-control", "version": 1, ' ..
                      '"class": "Kestrowidge.BmpButton1Ctrl.1", "properties": ' ..
                      '{"Static Picture": "%s", "Hoover Picture": "%s"}}', spindle, gear))
f:close()
local jog = load(stored, {name = "bmp_jog", x = 110, y = 393, w = 110, h = 44})
os.remove(stored)
jog.StaticText = "Tippen"
jog.HooverText = "Tippen +"
jog.HooverColor = 0x0000C0
jog.EnableAutorepeat = true
local jogs = 0
on(jog, "Click", function()
    jogs = jogs + 1
    print(string.format("bmp_jog: Click %d", jogs))
end)
print("gallery: a launcher of " .. program .. " and a repeating picture button")

-- The acceleration ramp as move profiles, in the free corners of the form:
-- the default exponential ramp with the machine at step 100 of its rise,
-- and a linear one (a constant 10000 Hz/s) with the machine braking.
local expo = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_exp", x = 290, y = 300, w = 240, h = 115})
expo.Vstart = 200
expo.Mode = 1
expo.CurRamp = 100
local linear = insert("Kestrowidge.AccelerationCtrl.1", {name = "accel_lin", x = 290, y = 420, w = 240, h = 130})
linear.Alpha = 10000
linear.Mode = 1
linear.CurRamp = 1000
linear.CurRamp = 600
print("gallery: 2 acceleration profiles")

-- The toolpath viewer with a part read from a G-code file in this folder,
-- shaded: feed moves blue, rapid moves dotted orange.
local here = (arg[0] or ""):match("(.*/)") or "./"
local viewer = insert("Kestrowidge.LineViewCtrl.1", {name = "lineview", x = 540, y = 180, w = 250, h = 365})
dofile(here .. "gcode.lua").show(viewer, here .. "part.ngc", "part.ngc")
viewer:EnableLight(1)
print("gallery: a toolpath viewer")

-- The viewer knows the stock's extent and frames it; in the window the
-- middle button turns the part (with Shift it pans, with Ctrl it zooms in
-- steps), the left button pans, the wheel zooms and the right button fits.
do
    local _, _, box = dofile(here .. "gcode.lua").read(here .. "part.ngc")
    local s = 0.55 / math.max(box[4] - box[1], box[5] - box[2])
    local cx, cy = (box[1] + box[4]) / 2, (box[2] + box[5]) / 2
    viewer:SetInitialFit((box[1] - 5 - cx) * s, (box[4] + 5 - cx) * s, (box[5] + 5 - cy) * s,
                         (box[2] - 5 - cy) * s, -1 * s, -6 * s)
    viewer:Fit()
    print("gallery: the toolpath viewer fitted to its stock")
end

-- Every control's property frame opens from the window: Alt+Enter on the
-- focused control, or a double-click with Ctrl held.
print(string.format("gallery: properties of %d controls open with Alt+Enter", allowproperties()))

-- Headless, a file named after the script gets the picture of the form
-- (docs/gallery.png is made so).
if gui then
    print("gallery: close the window to end")
elseif arg[1] then
    snapshot(nil, arg[1])
    print("gallery: pictured in " .. arg[1])
end
