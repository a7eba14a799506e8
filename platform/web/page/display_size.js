// The canvas's displayed size in device pixels (Module.qvlDisplaySize), kept current for the
// program, which reads it before every frame and sizes the drawing buffer itself. The canvas is
// the 16:9 picture box page.css centres; this only measures it.
// Usage: included after module.js; then Module.qvlDisplaySize is e.g. [1920, 1080] at once and
//        follows resizes, full screen and moves to a screen of another pixel ratio.
(function trackDisplaySize() {
  var canvas = Module.canvas;
  function set(width, height) { if (width > 0 && height > 0) Module.qvlDisplaySize = [width, height]; }
  function measure() {
    var box = canvas.getBoundingClientRect(), ratio = window.devicePixelRatio || 1;
    set(Math.round(box.width * ratio), Math.round(box.height * ratio));
  }
  measure();
  if (window.ResizeObserver) {
    var observer = new ResizeObserver(function (entries) {
      var entry = entries[entries.length - 1], ratio = window.devicePixelRatio || 1;
      var width = Math.round(entry.contentRect.width * ratio), height = Math.round(entry.contentRect.height * ratio);
      // The device-pixel box is exact: the browser's own snapping, which rounding may miss by one.
      // Where it is further off, it is not counted in devicePixelRatio's pixels (DevTools' device
      // emulation changes the ratio but not the box), and the ratio is what the page is drawn at.
      var exact = entry.devicePixelContentBoxSize && entry.devicePixelContentBoxSize[0];
      if (exact && Math.abs(exact.inlineSize - width) <= 1 && Math.abs(exact.blockSize - height) <= 1) {
        width = exact.inlineSize;
        height = exact.blockSize;
      }
      set(width, height);
    });
    // The device-pixel box also reports a new pixel ratio; browsers without it throw here.
    try { observer.observe(canvas, { box: 'device-pixel-content-box' }); } catch (e) { observer.observe(canvas); }
  } else {
    window.addEventListener('resize', measure);
  }
  // A move to a screen of another pixel ratio leaves the CSS size as it was; a media
  // query on the current ratio fires once, so each change arms the next.
  (function watchRatio() {
    if (!window.matchMedia) return;
    var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    function changed() {
      if (query.removeEventListener) query.removeEventListener('change', changed); else query.removeListener(changed);
      measure();
      watchRatio();
    }
    if (query.addEventListener) query.addEventListener('change', changed); else query.addListener(changed);
  })();
  document.addEventListener('fullscreenchange', measure);
})();
