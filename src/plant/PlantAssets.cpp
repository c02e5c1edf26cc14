#include "plant/PlantAssets.h"

// The station's colours: slate, amber, green on a warm white. One column on a phone, tiles side by
// side on an office screen; nothing wider than the screen.
const char* const kPlantCss = R"css(
:root { --slate: rgb(70, 80, 95); --amber: rgb(230, 160, 40); --green: rgb(20, 110, 30); --red: rgb(200, 0, 0);
  --paper: rgb(250, 250, 245); --grey: rgb(225, 228, 232); }
* { box-sizing: border-box; }
body { margin: 0; font: 16px/1.4 "DejaVu Sans", sans-serif; color: #000; background: var(--paper); }
main { max-width: 1400px; margin: 0 auto; padding: 0.5rem 1rem 2rem; }
header h1 { margin: 0.4rem 0; font-size: 1.5rem; color: var(--slate); overflow-wrap: anywhere; }
h2 { font-size: 1.15rem; margin: 0.2rem 0; overflow-wrap: anywhere; }
a { color: var(--slate); }
a:focus-visible, button:focus-visible, input:focus-visible { outline: 3px solid var(--amber); outline-offset: 2px; }
.skip { position: absolute; left: -999px; }
.skip:focus { left: 0.5rem; top: 0.5rem; background: #fff; padding: 0.3rem; }
.total, .tile { display: block; background: #fff; border: 2px solid var(--grey); border-radius: 6px; padding: 0.6rem;
  text-decoration: none; color: inherit; }
.total { border-color: var(--slate); margin-bottom: 1rem; }
.tiles { list-style: none; margin: 0; padding: 0; display: grid; gap: 0.8rem;
  grid-template-columns: repeat(auto-fill, minmax(300px, 1fr)); }
.tile:hover { border-color: var(--slate); }
.count .n { font-size: 1.6rem; font-weight: bold; color: var(--slate); }
p { margin: 0.25rem 0; }
.bar { display: block; width: 100%; height: 1.2rem; background: var(--grey); border-radius: 3px; }
.classes { list-style: none; padding: 0; margin: 0.3rem 0; display: flex; flex-wrap: wrap; gap: 0.2rem 0.8rem; }
.classes small { color: #444; }
rect.cS { fill: rgb(20, 110, 30); } rect.cE { fill: rgb(60, 150, 60); } rect.cU { fill: rgb(120, 170, 60); }
rect.cR { fill: rgb(230, 160, 40); } rect.cO { fill: rgb(200, 100, 30); } rect.cP { fill: rgb(150, 40, 30); }
.quiet.amber { background: var(--amber); color: #000; padding: 0 0.3rem; font-weight: bold; }
.quiet.red { background: var(--red); color: #fff; padding: 0 0.3rem; font-weight: bold; }
.lag { color: var(--red); }
.stale { position: sticky; top: 0; z-index: 1; margin: 0; padding: 0.4rem 1rem; background: var(--red); color: #fff;
  font-weight: bold; }
.stale[hidden] { display: none; }
.outage { font-size: 1.3rem; font-weight: bold; color: var(--red); }
.day { display: flex; flex-wrap: wrap; gap: 0.4rem 0.8rem; align-items: center; }
input, button { font: inherit; }
pre.summary { background: #fff; border: 1px solid var(--grey); padding: 0.5rem; overflow-x: auto; max-width: 100%;
  font-size: 0.85rem; }
img.charts { width: 100%; height: auto; background: #fff; border: 1px solid var(--grey); }
table.lines { border-collapse: collapse; width: 100%; background: #fff; }
.lines th, .lines td { border-bottom: 1px solid var(--grey); padding: 0.2rem 0.4rem; text-align: left;
  overflow-wrap: anywhere; }
.lines th { background: var(--slate); color: #fff; }
tr.deleted td { text-decoration: line-through; color: #777; }
tr.deleted td:last-child { text-decoration: none; color: var(--red); }
td.text { white-space: pre-wrap; font-family: "DejaVu Sans Mono", monospace; }
.pages a { display: inline-block; margin: 0.6rem 1rem 0 0; }
/* A phone: each line a block of labelled values. */
@media (max-width: 700px) {
  main { padding: 0.4rem; }
  .lines thead { display: none; }
  .lines tr { display: block; border-bottom: 2px solid var(--slate); padding: 0.3rem 0; }
  .lines td { display: block; border: 0; }
  .lines td:empty { display: none; }
  .lines td::before { content: attr(data-label) ": "; font-weight: bold; }
}
)css";

// Choosing a day in the date field shows it at once; the button stays for the keyboard. A live page
// takes each version of itself the server pushes, and says so when it has lost the server (the
// browser tries again by itself; the server pings every 15 s, so a silence of 40 s is a loss too).
// A push waits while the day's form has the focus (a date half typed), and a link that had the
// focus has it again in the new version.
const char* const kPlantJs = R"js(
"use strict";
document.addEventListener("change", function (event) {
  var field = event.target;
  if (field.matches("form.day input[name=date]") && /^\d{4}-\d{2}-\d{2}$/.test(field.value)) field.form.submit();
});
document.addEventListener("DOMContentLoaded", function () {
  if (!document.querySelector("main[data-live]") || !window.EventSource) return;
  var path = location.pathname;
  var url = (path === "/" ? "/events" : path + "/events") + (location.search ? location.search + "&" : "?") + "seen=";
  var stale = document.querySelector(".stale");
  var lostAt = null, source = null, watchdog = null, held = null;
  function two(n) { return (n < 10 ? "0" : "") + n; }
  function lost() {
    if (lostAt !== null) return;
    lostAt = new Date();
    stale.textContent = "no connection to the plant server since " + two(lostAt.getHours()) + ":" +
      two(lostAt.getMinutes());
    stale.hidden = false;
  }
  function heard() {
    lostAt = null;
    stale.hidden = true;
    clearTimeout(watchdog);
    watchdog = setTimeout(function () { lost(); connect(); }, 40000);
  }
  function show(page, leaving) {
    var form = document.querySelector("main form.day");
    if (!leaving && form && form.contains(document.activeElement)) {
      held = page;
      return;
    }
    held = null;
    var fresh = page.querySelector("main"), shown = document.querySelector("main");
    if (!fresh || !shown) return;
    var focused = document.activeElement;
    var href = shown.contains(focused) ? focused.getAttribute("href") : null;
    shown.replaceWith(document.adoptNode(fresh));
    document.title = page.title;
    var links = document.querySelectorAll("main a[href]");
    for (var i = 0; href && i < links.length; ++i) {
      if (links[i].getAttribute("href") === href) {
        links[i].focus();
        break;
      }
    }
  }
  document.addEventListener("focusout", function (event) {
    var form = document.querySelector("main form.day");
    if (held && !(form && form.contains(event.relatedTarget))) show(held, true);
  });
  function connect() {
    if (source) source.close();
    source = new EventSource(url + document.querySelector("main").getAttribute("data-live"));
    source.addEventListener("open", heard);
    source.addEventListener("ping", heard);
    source.addEventListener("page", function (event) {
      heard();
      show(new DOMParser().parseFromString(event.data, "text/html"), false);
    });
    source.addEventListener("error", function () {
      // Closed: the server answered but would not stream (busy, or the database away); else unreachable.
      if (source.readyState === EventSource.CLOSED) setTimeout(connect, 5000);
      else lost();
    });
  }
  connect();
});
)js";
