// The game's public face, as the desktop's tests read it, for scripts that
// test the page: its objects' Qt properties, moxelProperty("Form10", "t1"),
// and where each is shown on the page, moxelRect("Form11.Command1"), or null
// where it is not (nothing is before the program runs); moxelMemory(), the
// program's memory in bytes.
export function installTestHooks(program) {
  window.moxelProperty = (object, property) => program()?.moxelProperty(object, property);
  window.moxelRect = (object) => {
    const place = (program()?.moxelRect(object) ?? "").split(" ").map(Number);
    if (place.length !== 4)
      return null;
    const canvas = document.getElementById("canvas").getBoundingClientRect();
    return { x: canvas.left + place[0], y: canvas.top + place[1], width: place[2], height: place[3] };
  };
  window.moxelMemory = () => program()?.HEAP8.length;
}
