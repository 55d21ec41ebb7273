// The page's glue: the WebSocket, the canvas and the pointer. Everything the
// table decides (its layout, the chain, the hands, the words) comes from the
// game's C++ in tarvelis.wasm; this file copies its draw list onto the canvas
// and carries messages and presses.
'use strict';

(async () => {
  const M = await TarvelisModule();
  const call = (name, ret, types, args) => M.ccall(name, ret, types, args);
  const json = (name) => JSON.parse(call(name, 'string', [], []));
  const texts = json('tv_texts');
  const canvas = document.getElementById('table');
  const ctx = canvas.getContext('2d');
  const statusLine = document.getElementById('status');
  const measures = { firstTableMs: 0, frames: [] };

  // The strips, as the desktop draws them: the sharper copies (three pixels
  // for each cell pixel) wherever the table is blown up.
  const names = ['marmol', 'dibujos', 'punneg', 'puntitos', 'dorsos', 'bmpvario', 'piezas', 'manos',
    'mensajes'];
  const load = (src) => new Promise((ok, fail) => {
    const img = new Image();
    img.onload = () => ok(img);
    img.onerror = () => fail(new Error(src));
    img.src = src;
  });
  const plain = await Promise.all(names.map((n) => load('/strips/' + n + '.png')));
  const sharp = await Promise.all(names.map((n) => (n === 'marmol' ? null : load('/strips/x3/' + n + '.png'))));

  // A shaped cell is the picture where its mask is black: cut out once.
  const cutouts = new Map();
  function cutout(strip, sx, sy, w, h, mx, my, k) {
    const key = [strip, sx, sy, w, h, mx, my, k].join(',');
    let c = cutouts.get(key);
    if (c) return c;
    const from = k === 3 ? sharp[strip] : plain[strip];
    c = document.createElement('canvas');
    c.width = w * k;
    c.height = h * k;
    const cc = c.getContext('2d', { willReadFrequently: true });
    cc.drawImage(from, mx * k, my * k, w * k, h * k, 0, 0, w * k, h * k);
    const mask = cc.getImageData(0, 0, w * k, h * k);
    cc.drawImage(from, sx * k, sy * k, w * k, h * k, 0, 0, w * k, h * k);
    const pic = cc.getImageData(0, 0, w * k, h * k);
    for (let i = 0; i < pic.data.length; i += 4) pic.data[i + 3] = 255 - mask.data[i];
    cc.putImageData(pic, 0, 0);
    cutouts.set(key, c);
    return c;
  }

  // Where the table goes on the screen.
  let table = null;
  let view = null;
  function fit() {
    const dpr = window.devicePixelRatio || 1;
    const w = window.innerWidth;
    const h = window.innerHeight;
    canvas.width = Math.round(w * dpr);
    canvas.height = Math.round(h * dpr);
    const tw = table.w;
    const th = table.h;
    const regions = [];
    if (w >= h) {
      const f = Math.min(w / tw, h / th);
      regions.push({ src: { x: 0, y: 0, w: tw, h: th }, f, x: (w - tw * f) / 2, y: (h - th * f) / 2 });
    } else {
      // A portrait phone: the whole table across the top, then the seat's
      // own hand and the continue button again, as large as the width allows.
      const f = w / tw;
      regions.push({ src: { x: 0, y: 0, w: tw, h: th }, f, x: 0, y: 0 });
      const hand = json('tv_own_hand');
      const button = json('tv_continue_button');
      const x0 = Math.min(hand.x, button.x) - 4;
      const y0 = Math.min(hand.y, button.y) - 4;
      const x1 = Math.max(hand.x + hand.w, button.x + button.w) + 4;
      const y1 = Math.min(th, Math.max(hand.y + hand.h, button.y + button.h) + 4);
      const zone = { x: x0, y: y0, w: x1 - x0, h: y1 - y0 };
      const fz = Math.min(w / zone.w, (h - th * f - 48) / zone.h);
      // The two, one under the other, in the middle of the screen's height.
      const gap = 12;
      const top = Math.max(0, (h - 32 - th * f - gap - zone.h * fz) / 2);
      regions[0].y = top;
      regions.push({ src: zone, f: fz, x: (w - zone.w * fz) / 2, y: top + th * f + gap });
    }
    view = { dpr, w, h, regions };
    // The kept cells of another size are let go.
    scaled.clear();
    marbles.clear();
    drawn = -1;
  }

  // Every cell is brought to the screen's scale once, smoothed from its
  // sharper copy, and kept: a frame then only copies pixels one for one,
  // as the desktop's table does.
  const scaled = new Map();
  function cell(op, s) {
    const key = op.slice(0, op[0] === 'm' ? 8 : 6).join(',') + '@' + s;
    let c = scaled.get(key);
    if (c) return c;
    const [kind, strip, sx, sy, w, h] = op;
    const k = s > 1.05 && sharp[strip] ? 3 : 1;
    const from = kind === 'm' ? cutout(strip, sx, sy, w, h, op[6], op[7], k)
      : (k === 3 ? sharp[strip] : plain[strip]);
    const fx = kind === 'm' ? 0 : sx * k;
    const fy = kind === 'm' ? 0 : sy * k;
    c = document.createElement('canvas');
    c.width = Math.max(1, Math.round(w * s));
    c.height = Math.max(1, Math.round(h * s));
    const cc = c.getContext('2d');
    cc.imageSmoothingEnabled = true;
    cc.imageSmoothingQuality = 'high';
    cc.drawImage(from, fx, fy, w * k, h * k, 0, 0, c.width, c.height);
    scaled.set(key, c);
    return c;
  }
  // The marble under a region, at its scale, made once.
  const marbles = new Map();
  function marbleOf(r, s) {
    const key = [r.src.x, r.src.y, r.src.w, r.src.h, s].join(',');
    let c = marbles.get(key);
    if (c) return c;
    c = document.createElement('canvas');
    c.width = Math.ceil(r.src.w * s);
    c.height = Math.ceil(r.src.h * s);
    const cc = c.getContext('2d');
    cc.setTransform(s, 0, 0, s, -r.src.x * s, -r.src.y * s);
    cc.fillStyle = cc.createPattern(plain[0], 'repeat');
    cc.fillRect(r.src.x, r.src.y, r.src.w, r.src.h);
    marbles.set(key, c);
    return c;
  }

  function drawRegion(ops, r) {
    const dpr = view.dpr;
    const s = r.f * dpr;
    const ox = r.x * dpr - r.src.x * s;
    const oy = r.y * dpr - r.src.y * s;
    ctx.save();
    ctx.beginPath();
    ctx.rect(r.x * dpr, r.y * dpr, r.src.w * s, r.src.h * s);
    ctx.clip();
    ctx.drawImage(marbleOf(r, s), Math.round(r.x * dpr), Math.round(r.y * dpr));
    for (const op of ops) {
      switch (op[0]) {
        case 'c':
        case 'm': {
          if (op[0] === 'c' && op[1] === 0) break;  // the marble, already down
          const at = op[0] === 'c' ? 6 : 8;
          ctx.drawImage(cell(op, s), Math.round(ox + op[at] * s), Math.round(oy + op[at + 1] * s));
          break;
        }
        case 'i':
          ctx.globalCompositeOperation = 'difference';
          ctx.fillStyle = '#ffffff';
          ctx.fillRect(Math.round(ox + op[1] * s), Math.round(oy + op[2] * s), Math.round(op[3] * s),
            Math.round(op[4] * s));
          ctx.globalCompositeOperation = 'source-over';
          break;
        case 'r':
          ctx.globalAlpha = op[6] / 255;
          ctx.fillStyle = op[5];
          ctx.fillRect(ox + op[1] * s, oy + op[2] * s, op[3] * s, op[4] * s);
          ctx.globalAlpha = 1;
          break;
        case 't':
          // Text as text at its final size, never a scaled picture.
          ctx.font = (op[4] ? 'bold ' : '') + (op[3] * s).toFixed(2) + 'px "DejaVu Sans", sans-serif';
          ctx.textBaseline = 'top';
          ctx.fillStyle = op[5];
          ctx.fillText(op[6], ox + op[1] * s, oy + op[2] * s);
          break;
        default:
          break;
      }
    }
    ctx.restore();
  }

  let drawn = -1;
  let chain = { hand: 0, version: -1, tiles: [] };
  function draw() {
    const state = json('tv_state');
    if (state.version === drawn) return;
    const t0 = performance.now();
    drawn = state.version;
    const ops = JSON.parse(call('tv_draw', 'string', [], []));
    chain = { hand: state.hand, version: state.version,
      tiles: ops.filter((op) => op[0] === 'k').map((op) => ({ move: op[1], a: op[2], b: op[3] })) };
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = '#0e3b27';
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    for (const r of view.regions) drawRegion(ops, r);
    if (view.regions.length > 1) {
      // On a phone a notice is shown again across the screen's width, over
      // the table, so its words are read at a useful size.
      const notice = JSON.parse(call('tv_targets', 'string', [], [])).find((t) => t.kind === 'notice');
      if (notice) {
        const f = Math.min((view.w - 8) / notice.w, 2);
        // Above the table where the screen leaves room, else over its top.
        const above = view.regions[0].y - notice.h * f - 8;
        drawRegion(ops, { src: notice, f, x: (view.w - notice.w * f) / 2,
          y: above >= 4 ? above : Math.max(4, view.regions[0].y + 8) });
      }
    }
    statusLine.textContent = linkStatus || state.status;
    const ms = performance.now() - t0;
    if (measures.frames.length < 1000) measures.frames.push(ms);
    if (!measures.firstTableMs && state.stage === 3) measures.firstTableMs = performance.now();
  }
  const redraw = () => requestAnimationFrame(draw);

  // A press anywhere on a region is the table point under it.
  function toTable(cssX, cssY) {
    for (let i = view.regions.length - 1; i >= 0; --i) {
      const r = view.regions[i];
      const x = r.src.x + (cssX - r.x) / r.f;
      const y = r.src.y + (cssY - r.y) / r.f;
      if (x >= r.src.x && x < r.src.x + r.src.w && y >= r.src.y && y < r.src.y + r.src.h) {
        return [Math.floor(x), Math.floor(y)];
      }
    }
    return null;
  }
  canvas.addEventListener('pointerdown', (ev) => {
    ev.preventDefault();
    const at = toTable(ev.clientX, ev.clientY);
    if (!at) return;
    call('tv_press', null, ['number', 'number'], at);
    flush();
    redraw();
  });

  // The link: kept open, and taken up again with the seat's token.
  let socket = null;
  let linkStatus = '';
  let retry = 0;
  const pauses = [250, 500, 1000, 2000, 4000, 8000];
  function keepToken() {
    const s = json('tv_state');
    const key = 'tarvelis.seat.' + s.code;
    if (s.token) localStorage.setItem(key, s.token);
    else localStorage.removeItem(key);
  }
  function flush() {
    const out = JSON.parse(call('tv_outgoing', 'string', [], []));
    for (const m of out) if (socket && socket.readyState === 1) socket.send(m);
  }
  function open(first) {
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    socket = new WebSocket(scheme + location.host + '/');
    socket.onopen = () => {
      retry = 0;
      linkStatus = '';
      if (first) {
        const code = decodeURIComponent(location.pathname.slice(3)).toUpperCase();
        const token = localStorage.getItem('tarvelis.seat.' + code) || '';
        const name = localStorage.getItem('tarvelis.name') || '';
        call('tv_enter', null, ['string', 'string', 'string'], [code, token, name]);
        first = false;
      } else {
        call('tv_reopened', null, [], []);
      }
      flush();
      redraw();
    };
    socket.onmessage = (ev) => {
      if (typeof ev.data !== 'string') return;
      call('tv_received', null, ['string'], [ev.data]);
      keepToken();
      flush();
      redraw();
    };
    socket.onclose = () => {
      const s = json('tv_state');
      if (s.stage === 4 || s.stage === 5) return;  // finished or refused: nothing to go back to
      linkStatus = texts.lost;
      redraw();
      setTimeout(() => open(first), pauses[Math.min(retry++, pauses.length - 1)]);
    };
  }

  // The page's own words.
  document.title = texts.title + ' - TARVELIS';
  const path = location.pathname;
  if (/^\/t\/[A-Za-z0-9]{10}$/.test(path)) {
    const size = JSON.parse(call('tv_table_for', 'string', ['number', 'number'],
      [window.innerWidth, window.innerHeight]));
    call('tv_new', null, ['number', 'number'], [size.w, size.h]);
    table = size;
    fit();
    window.addEventListener('resize', () => { fit(); redraw(); });
    open(true);
    redraw();
  } else {
    canvas.hidden = true;
    const form = document.getElementById('enter');
    form.hidden = false;
    document.getElementById('code-label').textContent = texts.code;
    document.getElementById('name-label').textContent = texts.name;
    document.getElementById('join').textContent = texts.join;
    const name = document.getElementById('name');
    name.value = localStorage.getItem('tarvelis.name') || '';
    form.addEventListener('submit', (ev) => {
      ev.preventDefault();
      // Read aloud, a code may come with spaces or dashes between its letters.
      const code = document.getElementById('code').value.replace(/[\s-]/g, '').toUpperCase();
      if (!/^[A-Z0-9]{10}$/.test(code)) {
        document.getElementById('enter-status').textContent = texts.badCode;
        return;
      }
      localStorage.setItem('tarvelis.name', name.value.trim());
      location.href = '/t/' + code;
    });
  }

  // For the measures and the end-to-end test: what the page drew, in CSS pixels.
  window.tarvelis = {
    measures,
    chain: () => chain,
    state: () => json('tv_state'),
    targets: () => {
      const list = JSON.parse(call('tv_targets', 'string', [], []));
      const r = view.regions[view.regions.length - 1];
      return list.map((t) => {
        // In the zoomed region when it holds the target, else on the table.
        const inZoom = t.x >= r.src.x && t.y >= r.src.y && t.x + t.w <= r.src.x + r.src.w &&
          t.y + t.h <= r.src.y + r.src.h;
        const q = inZoom ? r : view.regions[0];
        return { kind: t.kind, a: t.a, b: t.b, x: q.x + (t.x - q.src.x + t.w / 2) * q.f,
          y: q.y + (t.y - q.src.y + t.h / 2) * q.f };
      });
    },
    // One whole frame drawn again, rasterised to the last pixel (a pixel read
    // waits for it), in the next animation frame.
    frame: () => new Promise((done) => requestAnimationFrame(() => {
      drawn = -1;
      const t0 = performance.now();
      draw();
      ctx.getImageData(0, 0, 1, 1);
      done(performance.now() - t0);
    })),
  };
})();
